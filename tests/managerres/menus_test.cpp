// The Manager's menus and accelerators as the platform loads them: the same commands in the
// same places in every language, the English texts exactly, and the thread's language choosing
// the menu that LoadMenu returns.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "manager/res/resource.h"
#include "tests/managerres/restest.h"

using namespace restest;

namespace {

struct item_t {
  UINT id;  // 0: separator
  const char* english;
};
struct popup_t {
  const char* english;  // null: a popup only shown as a context menu, its title never seen
  std::vector<item_t> items;
};
struct menu_t {
  UINT id;
  std::vector<popup_t> popups;
};

const item_t separator = {0, nullptr};

const menu_t menus[] = {
    {127,
     {
         {"&File",
          {{32776, "&New Fax...\tCtrl + N"}, {32798, "Manager Options..."}, {32782, "&Export Log..."}, separator,
           {57665, "E&xit\tAlt + F4"}}},
         {"F&olders", {{32802, "New folder..."}, {32803, "Delete folder"}}},
         {"&Event",
          {{32777, "&View..."}, {32778, "&Print..."}, {32792, "De&tails..."}, separator,
           {32806, "Move to Folder..."}, separator, {32779, "&Route..."}, {32780, "Resu&bmit"},
           {32796, "Forward..."}, separator, {32781, "&Delete...\tDel"}}},
         {"&View",
          {{32783, "&Refresh\tF5"}, separator, {32789, "&Sent items\tCtrl + S"}, {32790, "&Read items\tCtrl + R"},
           {32791, "&Failed items\tCtrl + F"}, separator, {59392, "&Toolbar"}, {59393, "Status &Bar"}}},
         {"&Help", {{32801, "Contents..."}, separator, {57664, "&About Ravelink..."}}},
     }},
    {129,
     {
         {nullptr,
          {{32777, "View..."}, {32778, "Print..."}, {32792, "Details..."}, separator, {32779, "Route..."},
           {32780, "Resubmit"}, {32796, "Forward..."}, separator, {32806, "Move to Folder..."}, separator,
           {32781, "Delete..."}}},
     }},
    {138,
     {
         {nullptr,
          {{32772, "&Open Manager..."}, {32776, "&New Fax..."}, separator, {57664, "&About Ravelink..."},
           {32798, "Options..."}, {57665, "E&xit"}}},
     }},
};

class menuholder_c {
public:
  explicit menuholder_c(HMENU m) : menu(m) {}
  ~menuholder_c() {
    if (menu) DestroyMenu(menu);
  }
  menuholder_c(const menuholder_c&) = delete;
  menuholder_c& operator=(const menuholder_c&) = delete;
  HMENU get() const { return menu; }

private:
  HMENU menu;
};

std::string itemtext(HMENU menu, int position) {
  char text[256] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

HMENU menuoflanguage(UINT id, LCID locale) {
  const void* data = rawresource(rtmenu, id, locale);
  return data ? LoadMenuIndirectA(data) : nullptr;
}

TEST(ManagerMenus, SameCommandsInEveryLanguageAndEnglishExactly) {
  for (const menu_t& m : menus) {
    for (const language_t& l : languages) {
      SCOPED_TRACE(testing::Message() << "menu " << m.id << " " << l.name);
      menuholder_c menu(menuoflanguage(m.id, l.locale));
      ASSERT_NE(menu.get(), nullptr);
      ASSERT_EQ(GetMenuItemCount(menu.get()), (int)m.popups.size());
      for (size_t p = 0; p < m.popups.size(); ++p) {
        const popup_t& want = m.popups[p];
        HMENU popup = GetSubMenu(menu.get(), (int)p);
        ASSERT_NE(popup, nullptr) << "popup " << p;
        std::string title = itemtext(menu.get(), (int)p);
        EXPECT_FALSE(title.empty());
        if (want.english && l.locale == 1033) {
          EXPECT_EQ(title, want.english);
        }
        ASSERT_EQ(GetMenuItemCount(popup), (int)want.items.size()) << title;
        for (size_t i = 0; i < want.items.size(); ++i) {
          SCOPED_TRACE(testing::Message() << "item " << i);
          const item_t& it = want.items[i];
          UINT state = GetMenuState(popup, (UINT)i, MF_BYPOSITION);
          EXPECT_EQ(GetSubMenu(popup, (int)i), nullptr);
          if (it.id == 0) {
            EXPECT_TRUE(state & MF_SEPARATOR);
            continue;
          }
          EXPECT_EQ(GetMenuItemID(popup, (int)i), it.id);
          EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
          std::string text = itemtext(popup, (int)i);
          if (l.locale == 1033) {
            EXPECT_EQ(text, it.english);
          } else {
            EXPECT_FALSE(text.empty());
            // A shortcut shown in English is shown in every language.
            EXPECT_EQ(text.find('\t') != std::string::npos, std::string(it.english).find('\t') != std::string::npos)
                << text;
          }
        }
      }
    }
  }
}

TEST(ManagerMenus, TheThreadLanguageChoosesTheMenu) {
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    threadlanguage_c choose(l.locale);
    for (const menu_t& m : menus) {
      menuholder_c loaded(LoadMenuA(module(), MAKEINTRESOURCEA(m.id)));
      menuholder_c wanted(menuoflanguage(m.id, l.locale));
      ASSERT_NE(loaded.get(), nullptr);
      ASSERT_NE(wanted.get(), nullptr);
      for (size_t p = 0; p < m.popups.size(); ++p) {
        EXPECT_EQ(itemtext(loaded.get(), (int)p), itemtext(wanted.get(), (int)p));
        HMENU a = GetSubMenu(loaded.get(), (int)p), b = GetSubMenu(wanted.get(), (int)p);
        for (int i = 0; i < GetMenuItemCount(b); ++i) EXPECT_EQ(itemtext(a, i), itemtext(b, i)) << m.id;
      }
    }
  }
  // And they do differ: the German bar is not the English one.
  threadlanguage_c german(1031);
  menuholder_c bar(LoadMenuA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  EXPECT_EQ(itemtext(bar.get(), 0), "&Datei");
}

TEST(ManagerMenus, AcceleratorsAreTheSameInEveryLanguage) {
  const struct {
    BYTE modifiers;
    WORD key;
    WORD command;
  } wanted[] = {
      {FCONTROL, 'N', 32776}, {FCONTROL, 'S', 32789}, {FCONTROL, 'R', 32790},
      {FCONTROL, 'F', 32791}, {0, VK_DELETE, 32781},  {0, VK_F5, 32783},
  };
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    threadlanguage_c choose(l.locale);
    HACCEL table = LoadAcceleratorsA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16];
    int n = CopyAcceleratorTableA(table, entries, 16);
    ASSERT_EQ(n, (int)(sizeof wanted / sizeof wanted[0]));
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | wanted[i].modifiers) << i;
      EXPECT_EQ(entries[i].key, wanted[i].key) << i;
      EXPECT_EQ(entries[i].cmd, wanted[i].command) << i;
    }
  }
}

}  // namespace
