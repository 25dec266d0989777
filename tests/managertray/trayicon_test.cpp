// The notification-area icon against Wine's real notification area (its explorer's tray
// window), with a real window that owns the icon and records the commands it receives, and the
// Manager's real resources (icons 150-153, their tooltips, menu 138).
//
// The shell identifies an icon by (window, id) and refuses to add one that exists or to change
// one that does not; that is how these tests see what reached the notification area.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "manager/res/resource.h"
#include "manager/trayicon.h"
#include "tests/managertray/traytest.h"

namespace {

constexpr UINT callbackmessage = WM_USER;  // 1024, as the Manager uses it

std::string loadstring(UINT id) {
  char text[1024] = "";
  LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

HICON smallicon(UINT id) {
  return (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
}

// The icon's owner: records every WM_COMMAND; runs a callback on its timer.
class ownerwindow_c {
public:
  ownerwindow_c() {
    static ATOM atom = 0;
    if (!atom) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "RavelinkTrayTestOwner";
      atom = RegisterClassA(&wc);
    }
    hwnd = CreateWindowA("RavelinkTrayTestOwner", "tray test owner", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                         nullptr, nullptr, GetModuleHandleA(nullptr), this);
  }
  ~ownerwindow_c() {
    if (hwnd) DestroyWindow(hwnd);
  }
  ownerwindow_c(const ownerwindow_c&) = delete;
  ownerwindow_c& operator=(const ownerwindow_c&) = delete;

  HWND hwnd = nullptr;
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  std::function<void()> ontimer;

private:
  static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      SetWindowLongPtrA(w, GWLP_USERDATA, (LONG_PTR)reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    }
    auto* self = reinterpret_cast<ownerwindow_c*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && msg == WM_COMMAND) {
      self->commands.emplace_back(wp, lp);
      return 0;
    }
    if (self && msg == WM_TIMER && wp == 1) {
      if (self->ontimer) self->ontimer();
      return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
  }
};

// Straight calls to the shell, to set up and to look at the notification area.
BOOL rawnotify(DWORD action, HWND window, UINT id, HICON icon = nullptr) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = id;
  data.hIcon = icon;
  data.uFlags = icon ? NIF_ICON : 0;
  return Shell_NotifyIconA(action, &data);
}

// A change that changes nothing succeeds exactly when the icon exists.
bool iconexists(HWND window, UINT id) { return rawnotify(NIM_MODIFY, window, id) != 0; }

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class TrayIcon : public ::testing::Test {
protected:
  // Without a notification area nothing below means anything. (Wine's takes about two seconds
  // to remove an icon, so it is probed once.)
  static void SetUpTestSuite() {
    ownerwindow_c probewindow;
    HICON probe = smallicon(IDI_TRAY);
    available = probewindow.hwnd && probe && rawnotify(NIM_ADD, probewindow.hwnd, 999, probe);
    if (available) rawnotify(NIM_DELETE, probewindow.hwnd, 999);
  }
  void SetUp() override {
    ASSERT_NE(owner.hwnd, nullptr);
    ASSERT_NE(smallicon(IDI_TRAY), nullptr);
    if (!available) GTEST_SKIP() << "no notification area in this session";
  }
  void TearDown() override {
    if (owner.hwnd && iconexists(owner.hwnd, IDR_TRAYMENU)) rawnotify(NIM_DELETE, owner.hwnd, IDR_TRAYMENU);
  }

  static inline bool available = false;

  ownerwindow_c owner;
};

TEST_F(TrayIcon, StartsWithoutIconAndWithTheTooltipOfItsId) {
  CTrayIcon tray(IDR_TRAYMENU);
  const trayiconrecord_t& r = tray.record();
  EXPECT_EQ(r.cbSize, (DWORD)NOTIFYICONDATAA_V2_SIZE);
#if UINTPTR_MAX == 0xFFFFFFFFu
  EXPECT_EQ(r.cbSize, 488u);
#endif
  EXPECT_EQ(r.uID, (UINT)IDR_TRAYMENU);
  EXPECT_EQ(r.hWnd, nullptr);
  EXPECT_EQ(r.hIcon, nullptr);
  EXPECT_EQ(r.uFlags, 0u);
  EXPECT_EQ(r.uCallbackMessage, 0u);
  EXPECT_STREQ(r.szTip, loadstring(IDR_TRAYMENU).c_str());
  EXPECT_STREQ(r.szTip, "Ravelink Manager");
  EXPECT_FALSE(tray.iconshown());
}

TEST_F(TrayIcon, FirstShowAddsLaterShowsChangeInPlaceDestructionRemoves) {
  {
    CTrayIcon tray(IDR_TRAYMENU);
    tray.SetNotifyTarget(owner.hwnd, callbackmessage);
    EXPECT_FALSE(iconexists(owner.hwnd, IDR_TRAYMENU));

    static const UINT states[] = {IDI_TRAY, IDI_TRAY_UNREAD, IDI_TRAY_FAILED, IDI_TRAY_BOTH, IDI_TRAY};
    for (UINT id : states) {
      SCOPED_TRACE(id);
      EXPECT_NE(tray.ShowIconById(id), 0);
      EXPECT_TRUE(tray.iconshown());
      EXPECT_EQ(tray.record().hIcon, smallicon(id));
      EXPECT_STREQ(tray.record().szTip, loadstring(id).c_str());
      EXPECT_EQ(tray.record().uFlags, (UINT)(NIF_ICON | NIF_TIP | NIF_MESSAGE));
      EXPECT_EQ(tray.record().uCallbackMessage, callbackmessage);
      EXPECT_TRUE(iconexists(owner.hwnd, IDR_TRAYMENU));
      // The shell refuses a second icon with the same identity: had a later show added instead
      // of changed, it would have failed.
      EXPECT_EQ(rawnotify(NIM_ADD, owner.hwnd, IDR_TRAYMENU, smallicon(id)), FALSE);
    }
    EXPECT_STREQ(loadstring(IDS_TRAY_BOTH).c_str(), "Ravelink Manager - You have failed and unread events");
  }
  EXPECT_FALSE(iconexists(owner.hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, RemovingWhenNothingIsShownMakesNoCall) {
  // An icon with the same identity put there by someone else: a delete call would remove it.
  ASSERT_TRUE(rawnotify(NIM_ADD, owner.hwnd, IDR_TRAYMENU, smallicon(IDI_TRAY)));
  {
    CTrayIcon tray(IDR_TRAYMENU);
    tray.SetNotifyTarget(owner.hwnd, callbackmessage);
    EXPECT_EQ(tray.ShowIcon(nullptr, nullptr), 1);
    EXPECT_EQ(tray.ShowIconById(0), 1);
    EXPECT_EQ(tray.ShowIcon(nullptr, "a tooltip alone shows nothing"), 1);
    EXPECT_TRUE(iconexists(owner.hwnd, IDR_TRAYMENU));
  }
  EXPECT_TRUE(iconexists(owner.hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, RemovesOnRequestAndAddsAfreshAfterwards) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  ASSERT_NE(tray.ShowIconById(IDI_TRAY_UNREAD), 0);
  EXPECT_NE(tray.ShowIconById(0), 0);
  EXPECT_FALSE(tray.iconshown());
  EXPECT_FALSE(iconexists(owner.hwnd, IDR_TRAYMENU));
  EXPECT_NE(tray.ShowIconById(IDI_TRAY), 0);
  EXPECT_TRUE(iconexists(owner.hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, AFailedShowForgetsTheIconSoTheNextShowAddsIt) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);

  // Add refused: an icon of that identity is there already.
  ASSERT_TRUE(rawnotify(NIM_ADD, owner.hwnd, IDR_TRAYMENU, smallicon(IDI_TRAY)));
  EXPECT_EQ(tray.ShowIconById(IDI_TRAY_FAILED), FALSE);
  EXPECT_FALSE(tray.iconshown());
  ASSERT_TRUE(rawnotify(NIM_DELETE, owner.hwnd, IDR_TRAYMENU));
  EXPECT_NE(tray.ShowIconById(IDI_TRAY_FAILED), 0);
  EXPECT_TRUE(tray.iconshown());

  // Change refused: the icon vanished behind the object's back (as when the task bar restarts).
  ASSERT_TRUE(rawnotify(NIM_DELETE, owner.hwnd, IDR_TRAYMENU));
  EXPECT_EQ(tray.ShowIconById(IDI_TRAY_BOTH), FALSE);
  EXPECT_FALSE(tray.iconshown());
  EXPECT_NE(tray.ShowIconById(IDI_TRAY_BOTH), 0);
  EXPECT_TRUE(iconexists(owner.hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, AMissingIconResourceRemovesTheShownIcon) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  ASSERT_NE(tray.ShowIconById(IDI_TRAY), 0);
  // String 2 exists, icon 2 does not.
  ASSERT_FALSE(loadstring(IDS_USER_NOT_FOUND).empty());
  EXPECT_NE(tray.ShowIconById(IDS_USER_NOT_FOUND), 0);
  EXPECT_FALSE(tray.iconshown());
  EXPECT_FALSE(iconexists(owner.hwnd, IDR_TRAYMENU));
}

TEST_F(TrayIcon, TooltipsAreCutAt127Characters) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  const std::string longtext = loadstring(IDS_TRAYTEST_LONGTIP);
  ASSERT_EQ(longtext.size(), 200u);

  // From the string table: string 4000 has no icon, so nothing is shown, but the tooltip is set.
  EXPECT_EQ(tray.ShowIconById(IDS_TRAYTEST_LONGTIP), 1);
  EXPECT_EQ(std::string(tray.record().szTip), longtext.substr(0, 127));

  // Given with the icon; the shown icon carries it.
  EXPECT_NE(tray.ShowIcon(smallicon(IDI_TRAY), (longtext + "tail").c_str()), 0);
  EXPECT_EQ(std::string(tray.record().szTip), longtext.substr(0, 127));
  // Exactly 127 fit whole; no tooltip given keeps the current one.
  std::string fits(127, 'x');
  EXPECT_NE(tray.ShowIcon(smallicon(IDI_TRAY), fits.c_str()), 0);
  EXPECT_NE(tray.ShowIcon(smallicon(IDI_TRAY_UNREAD), nullptr), 0);
  EXPECT_EQ(std::string(tray.record().szTip), fits);
  // An empty tooltip is not passed on: the shell keeps what it shows.
  EXPECT_NE(tray.ShowIcon(smallicon(IDI_TRAY), ""), 0);
  EXPECT_EQ(tray.record().uFlags, (UINT)(NIF_ICON | NIF_MESSAGE));
}

TEST_F(TrayIcon, IgnoresOtherIdsAndMouseMessages) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  ASSERT_NE(tray.ShowIconById(IDI_TRAY), 0);
  bool menuseen = false;
  owner.ontimer = [&] {
    if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu)) {
      menuseen = true;
      EndMenu();
    }
  };
  SetTimer(owner.hwnd, 1, 50, nullptr);
  static const struct {
    UINT id;
    UINT message;
  } cases[] = {
      {IDR_TRAYMENU + 1, WM_RBUTTONUP},    {IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK}, {0, WM_LBUTTONDBLCLK},
      {IDR_TRAYMENU, WM_LBUTTONDOWN},      {IDR_TRAYMENU, WM_LBUTTONUP},         {IDR_TRAYMENU, WM_RBUTTONDOWN},
      {IDR_TRAYMENU, WM_RBUTTONDBLCLK},    {IDR_TRAYMENU, WM_MOUSEMOVE},         {IDR_TRAYMENU, WM_MBUTTONUP},
      {IDR_TRAYMENU, NIN_SELECT},          {IDR_TRAYMENU, WM_CONTEXTMENU},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " message " << c.message);
    EXPECT_EQ(tray.HandleTrayMessage(c.id, c.message), 0);
  }
  Sleep(120);
  pump();
  KillTimer(owner.hwnd, 1);
  EXPECT_FALSE(menuseen);
  EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayIcon, DoubleClickSendsOpenManagerToTheWindow) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
  // Sent, not posted: it has arrived when the call returns.
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(owner.commands[0].first, MAKEWPARAM(ID_OPEN_MANAGER, 0));
  EXPECT_EQ(owner.commands[0].second, 0);
  EXPECT_EQ(ID_OPEN_MANAGER, 32772);
}

TEST_F(TrayIcon, RightButtonUpOpensTheMenuAtTheCursorWithOpenManagerAsDefault) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  ASSERT_NE(tray.ShowIconById(IDI_TRAY), 0);
  SetCursorPos(200, 150);
  POINT cursor;
  GetCursorPos(&cursor);

  struct seen_t {
    bool open = false;
    RECT where = {};
    int count = -1;
    UINT first = 0, defaultitem = (UINT)-1, firststate = 0;
    std::string firsttext;
    HWND foreground = nullptr;
  } seen;
  int ticks = 0;
  owner.ontimer = [&] {
    HWND menuwindow = FindWindowA("#32768", nullptr);
    if (menuwindow && IsWindowVisible(menuwindow) && !seen.open) {
      seen.open = true;
      GetWindowRect(menuwindow, &seen.where);
      seen.foreground = GetForegroundWindow();
      HMENU shown = (HMENU)SendMessageA(menuwindow, MN_GETHMENU, 0, 0);
      seen.count = GetMenuItemCount(shown);
      seen.first = GetMenuItemID(shown, 0);
      seen.defaultitem = GetMenuDefaultItem(shown, TRUE, 0);
      seen.firststate = GetMenuState(shown, 0, MF_BYPOSITION);
      char text[128] = "";
      GetMenuStringA(shown, 0, text, sizeof text, MF_BYPOSITION);
      seen.firsttext = text;
      // Leave the menu the way a user does who changes their mind.
      PostMessageA(menuwindow, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    if (++ticks > 100) EndMenu();  // never hang the run
  };
  SetTimer(owner.hwnd, 1, 50, nullptr);
  EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 1);
  KillTimer(owner.hwnd, 1);
  pump();

  ASSERT_TRUE(seen.open);
  EXPECT_EQ(seen.where.left, cursor.x);
  EXPECT_EQ(seen.where.top, cursor.y);
  EXPECT_EQ(seen.foreground, owner.hwnd);
  EXPECT_EQ(seen.count, 6);
  EXPECT_EQ(seen.first, (UINT)ID_OPEN_MANAGER);
  EXPECT_EQ(seen.defaultitem, 0u);
  EXPECT_TRUE(seen.firststate & MFS_DEFAULT);
  EXPECT_EQ(seen.firsttext, "&Open Manager...");
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_FALSE(IsWindowVisible(FindWindowA("#32768", nullptr)));
}

TEST_F(TrayIcon, AnItemChosenInTheMenuReachesTheWindow) {
  CTrayIcon tray(IDR_TRAYMENU);
  tray.SetNotifyTarget(owner.hwnd, callbackmessage);
  int ticks = 0;
  bool pressed = false;
  owner.ontimer = [&] {
    HWND menuwindow = FindWindowA("#32768", nullptr);
    if (menuwindow && IsWindowVisible(menuwindow) && !pressed) {
      pressed = true;
      // "E&xit" by its mnemonic.
      PostMessageA(menuwindow, WM_CHAR, 'x', 0);
    }
    if (++ticks > 100) EndMenu();
  };
  SetTimer(owner.hwnd, 1, 50, nullptr);
  EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 1);
  KillTimer(owner.hwnd, 1);
  pump();
  ASSERT_TRUE(pressed);
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(LOWORD(owner.commands[0].first), (WORD)ID_APP_EXIT);
}

TEST_F(TrayIcon, NeedsAWindowAndAMenu) {
  // No window: nobody could receive the command, so nothing is done.
  CTrayIcon lonely(IDR_TRAYMENU);
  EXPECT_EQ(lonely.HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(lonely.HandleTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 0);

  // An id without a menu resource.
  CTrayIcon nomenu(IDS_TRAYTEST_LONGTIP);
  nomenu.SetNotifyTarget(owner.hwnd, callbackmessage);
  EXPECT_EQ(nomenu.HandleTrayMessage(IDS_TRAYTEST_LONGTIP, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(nomenu.HandleTrayMessage(IDS_TRAYTEST_LONGTIP, WM_RBUTTONUP), 0);
  EXPECT_TRUE(owner.commands.empty());
}

}  // namespace
