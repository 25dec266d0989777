// The Manager's dialogs as the platform creates them, in each of the five languages: the
// controls the program talks to (ids, classes, the styles their code relies on, the positions
// that are fixed), the English texts, every text fitting its control in every language, no two
// controls on top of each other, and the thread's language choosing the dialog.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "manager/res/resource.h"
#include "tests/managerres/restest.h"

using namespace restest;

namespace {

struct control_t {
  int id;
  const char* cls;
  DWORD style;       // bits that must be set
  RECT at;           // dialog units (left, top, width, height); width 0: not fixed
  const char* text;  // English text, or null
};

struct dialog_t {
  UINT id;
  int width, height;  // dialog units
  const char* caption;
  std::vector<control_t> controls;
  std::vector<const char*> labels;  // English texts of the unnamed labels
};

constexpr RECT any = {0, 0, 0, 0};

const dialog_t dialogs[] = {
    {IDD_EVENTDETAILS, 308, 215, "Ravelink Manager - Event details...",
     {
         {1002, "Edit", ES_READONLY | ES_AUTOHSCROLL, {91, 6, 210, 12}, nullptr},
         {1001, "Edit", ES_READONLY | ES_AUTOHSCROLL, {91, 19, 210, 12}, nullptr},
         {1005, "Edit", ES_AUTOHSCROLL, {91, 32, 210, 12}, nullptr},
         {1004, "Edit", ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, {3, 47, 301, 104}, nullptr},
         {1010, "ListBox",
          LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_MULTICOLUMN | LBS_DISABLENOSCROLL | LBS_NOTIFY | WS_HSCROLL,
          {3, 153, 301, 56}, nullptr},
         {1011, "Static", 0, {37, 8, 0, 0}, "From/To:"},
         {1015, "Static", 0, {37, 21, 0, 0}, "Date/Time:"},
     },
     {"Subject:"}},
    {IDD_ROUTE, 272, 164, "Route events...",
     {
         {1018, "ListBox", LBS_SORT | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, any, nullptr},
         {1019, "ListBox", LBS_SORT | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, any, nullptr},
         {1002, "Button", BS_PUSHBUTTON, any, "&To >>"},
         {1021, "Button", BS_PUSHBUTTON, any, "<< &Remove"},
         {IDOK, "Button", 0, any, "OK"},
         {IDCANCEL, "Button", 0, any, "Cancel"},
     },
     {"Please select the Ravelink for Virerure users you wish to route the selected events to...", "Ravelink users:",
      "Route to:"}},
    {IDD_OPTIONS, 229, 167, "Manager options",
     {
         {1031, "Edit", ES_NUMBER, any, nullptr},
         {1032, "msctls_updown32", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, any, nullptr},
         {1003, "Button", BS_AUTOCHECKBOX, any, "Notify new events with a &beep"},
         {1004, "Button", BS_AUTOCHECKBOX, any, "Notify &new events with a popup message:"},
         {1023, "Edit", ES_AUTOHSCROLL, any, nullptr},
         {1005, "Button", BS_AUTOCHECKBOX, any, "Notify &failed events with a popup message:"},
         {1024, "Edit", ES_AUTOHSCROLL, any, nullptr},
         {IDOK, "Button", 0, any, "OK"},
         {IDCANCEL, "Button", 0, any, "Cancel"},
     },
     {"General", "&Check for new events every", "minute(s)", "Popups (leave edit fields empty for default messages)"}},
    {IDD_NEWFOLDER, 181, 106, "Create new folder",
     {
         {1012, "Edit", ES_AUTOHSCROLL, any, nullptr},
         {1032, "Edit", ES_AUTOHSCROLL, any, nullptr},
         {1033, "Button", BS_PUSHBUTTON, any, "Browse..."},
         {IDOK, "Button", 0, any, "OK"},
         {IDCANCEL, "Button", 0, any, "Cancel"},
     },
     {"&Name:", "&Location:"}},
    {IDD_MOVE, 219, 150, "Move Event to Folder...",
     {
         {1035, "SysTreeView32",
          TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | WS_TABSTOP,
          any, nullptr},
         {1036, "Button", BS_AUTOCHECKBOX, any, "Perform a copy operation. Do not delete the source event."},
         {IDOK, "Button", 0, any, "OK"},
         {IDCANCEL, "Button", 0, any, "Cancel"},
     },
     {"Move the selected event(s) to folder:"}},
};

INT_PTR CALLBACK quietproc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class dialogholder_c {
public:
  explicit dialogholder_c(HWND w) : hwnd(w) {}
  ~dialogholder_c() {
    if (hwnd) DestroyWindow(hwnd);
  }
  dialogholder_c(const dialogholder_c&) = delete;
  dialogholder_c& operator=(const dialogholder_c&) = delete;
  HWND hwnd;
};

HWND createinlanguage(UINT id, LCID locale) {
  auto* tmpl = static_cast<const DLGTEMPLATE*>(rawresource(rtdialog, id, locale));
  return tmpl ? CreateDialogIndirectParamA(module(), tmpl, nullptr, quietproc, 0) : nullptr;
}

std::string windowtext(HWND w) {
  char text[512] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

std::string classname(HWND w) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  return cls;
}

RECT childrect(HWND dialog, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> children(HWND dialog) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  return out;
}

// The room a text takes in the control's font: width and height, wrapped at wrapwidth when given.
SIZE textsize(HWND control, const std::string& text, int wrapwidth) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
  RECT r = {0, 0, wrapwidth > 0 ? wrapwidth : 10000, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | (wrapwidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// Why a text does not fit its control, or empty when it does.
std::string fitproblem(HWND control, const std::string& text) {
  RECT client;
  GetClientRect(control, &client);
  const int width = client.right, height = client.bottom;
  const std::string cls = classname(control);
  const DWORD style = GetWindowLongA(control, GWL_STYLE);
  if (cls == "Static") {
    SIZE need = textsize(control, text, width);
    if (need.cx > width || need.cy > height)
      return "needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) + ", has " + std::to_string(width) +
             "x" + std::to_string(height);
    return "";
  }
  const int type = style & BS_TYPEMASK;
  if (type == BS_GROUPBOX) {
    // The title sits in the frame's top edge, indented on the left; keep it clear of the right.
    SIZE need = textsize(control, text, 0);
    if (need.cx + 16 > width) return "title needs " + std::to_string(need.cx + 16) + ", has " + std::to_string(width);
    return "";
  }
  if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
    const int box = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    SIZE need = textsize(control, text, (style & BS_MULTILINE) ? width - box : 0);
    if (need.cx + box > width || need.cy > height)
      return "needs " + std::to_string(need.cx + box) + "x" + std::to_string(need.cy) + ", has " +
             std::to_string(width) + "x" + std::to_string(height);
    return "";
  }
  SIZE need = textsize(control, text, 0);
  if (need.cx + 8 > width) return "needs " + std::to_string(need.cx + 8) + ", has " + std::to_string(width);
  return "";
}

class ManagerDialogs : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

TEST_F(ManagerDialogs, ControlsAndEnglishTexts) {
  for (const dialog_t& d : dialogs) {
    for (const language_t& l : languages) {
      SCOPED_TRACE(testing::Message() << "dialog " << d.id << " " << l.name);
      dialogholder_c dialog(createinlanguage(d.id, l.locale));
      ASSERT_NE(dialog.hwnd, nullptr);
      HWND dlg = dialog.hwnd;

      RECT size = {0, 0, d.width, d.height};
      MapDialogRect(dlg, &size);
      RECT client;
      GetClientRect(dlg, &client);
      EXPECT_EQ(client.right, size.right);
      EXPECT_EQ(client.bottom, size.bottom);
      if (l.locale == 1033) {
        EXPECT_EQ(windowtext(dlg), d.caption);
      }
      EXPECT_FALSE(windowtext(dlg).empty());

      for (const control_t& c : d.controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        HWND w = GetDlgItem(dlg, c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(classname(w), c.cls);
        DWORD style = GetWindowLongA(w, GWL_STYLE);
        if (std::string(c.cls) == "Button" && c.style == BS_AUTOCHECKBOX) {
          EXPECT_EQ(style & BS_TYPEMASK, (DWORD)BS_AUTOCHECKBOX);
        } else if (std::string(c.cls) == "Button") {
          EXPECT_LE(style & BS_TYPEMASK, (DWORD)BS_DEFPUSHBUTTON);
        } else {
          EXPECT_EQ(style & c.style, c.style);
        }
        if (c.at.left || c.at.top) {
          // Position and size are converted separately, as the dialog manager does.
          RECT want = c.at;
          MapDialogRect(dlg, &want);
          RECT got = childrect(dlg, w);
          EXPECT_EQ(got.left, want.left);
          EXPECT_EQ(got.top, want.top);
          if (c.at.right) {
            EXPECT_EQ(got.right - got.left, want.right);
            EXPECT_EQ(got.bottom - got.top, want.bottom);
          }
        }
        if (c.text && l.locale == 1033) {
          EXPECT_EQ(windowtext(w), c.text);
        }
        if (c.text) {
          EXPECT_FALSE(windowtext(w).empty());
        }
      }
      if (l.locale == 1033) {
        std::vector<std::string> texts;
        for (HWND c : children(dlg)) texts.push_back(windowtext(c));
        for (const char* label : d.labels)
          EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
      }
    }
  }
}

TEST_F(ManagerDialogs, PicturesAndBuddies) {
  // The two dialogs with a picture show their icon.
  const struct {
    UINT dialog;
    UINT icon;
  } pictures[] = {{IDD_EVENTDETAILS, IDI_DETAILS}, {IDD_ROUTE, IDI_ROUTE}};
  for (const auto& p : pictures) {
    dialogholder_c dialog(createinlanguage(p.dialog, 1033));
    ASSERT_NE(dialog.hwnd, nullptr);
    int icons = 0;
    for (HWND c : children(dialog.hwnd))
      if (classname(c) == "Static" && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        ++icons;
        EXPECT_NE(SendMessageA(c, STM_GETICON, 0, 0), 0) << p.dialog;
      }
    EXPECT_EQ(icons, 1) << p.dialog;
  }
  // The event details dialog has no buttons: Enter and Esc close it.
  dialogholder_c details(createinlanguage(IDD_EVENTDETAILS, 1033));
  for (HWND c : children(details.hwnd)) EXPECT_NE(classname(c), "Button");
  // The interval's up-down control works on the interval edit.
  dialogholder_c options(createinlanguage(IDD_OPTIONS, 1033));
  EXPECT_EQ((HWND)SendDlgItemMessageA(options.hwnd, IDC_OPTIONS_INTERVALSPIN, UDM_GETBUDDY, 0, 0),
            GetDlgItem(options.hwnd, IDC_OPTIONS_INTERVAL));
  // Move: OK and Cancel to the right of the tree, the copy box below it.
  dialogholder_c move(createinlanguage(IDD_MOVE, 1033));
  RECT tree = childrect(move.hwnd, GetDlgItem(move.hwnd, IDC_MOVE_TREE));
  EXPECT_GE(childrect(move.hwnd, GetDlgItem(move.hwnd, IDOK)).left, tree.right);
  EXPECT_GE(childrect(move.hwnd, GetDlgItem(move.hwnd, IDCANCEL)).left, tree.right);
  EXPECT_GE(childrect(move.hwnd, GetDlgItem(move.hwnd, IDC_MOVE_COPY)).top, tree.bottom);
}

TEST_F(ManagerDialogs, EveryTextFitsItsControlInEveryLanguage) {
  for (const dialog_t& d : dialogs) {
    for (const language_t& l : languages) {
      SCOPED_TRACE(testing::Message() << "dialog " << d.id << " " << l.name);
      dialogholder_c dialog(createinlanguage(d.id, l.locale));
      ASSERT_NE(dialog.hwnd, nullptr);
      for (HWND c : children(dialog.hwnd)) {
        const std::string cls = classname(c);
        if (cls != "Static" && cls != "Button") continue;
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && cls == "Static") continue;
        std::string text = windowtext(c);
        EXPECT_EQ(fitproblem(c, text), "") << text;
      }
    }
  }
  // The details dialog's two labels are rewritten at run time with these strings.
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    dialogholder_c dialog(createinlanguage(IDD_EVENTDETAILS, l.locale));
    const struct {
      int control;
      UINT strings[2];
    } runtime[] = {{IDC_DETAILS_PARTYLABEL, {IDS_DETAILS_FROM, IDS_DETAILS_TO}},
                   {IDC_DETAILS_DATELABEL, {IDS_DETAILS_RECEIVED, IDS_DETAILS_SENT}}};
    for (const auto& r : runtime)
      for (UINT s : r.strings) {
        std::wstring text;
        ASSERT_TRUE(rawstring(s, l.locale, text));
        EXPECT_EQ(fitproblem(GetDlgItem(dialog.hwnd, r.control), narrow(text)), "") << s;
      }
  }
}

TEST_F(ManagerDialogs, NoControlCoversAnother) {
  for (const dialog_t& d : dialogs) {
    SCOPED_TRACE(testing::Message() << "dialog " << d.id);
    dialogholder_c dialog(createinlanguage(d.id, 1033));
    ASSERT_NE(dialog.hwnd, nullptr);
    RECT client;
    GetClientRect(dialog.hwnd, &client);
    std::vector<std::pair<HWND, RECT>> placed;
    for (HWND c : children(dialog.hwnd)) {
      RECT r = childrect(dialog.hwnd, c);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << windowtext(c) << " " << GetDlgCtrlID(c);
      // Group boxes hold other controls by design, and an up-down control sits on its edit's edge.
      if (classname(c) == "Button" && (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
      if (classname(c) == UPDOWN_CLASSA) continue;
      for (const auto& other : placed) {
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &r, &other.second))
            << GetDlgCtrlID(c) << " '" << windowtext(c) << "' covers " << GetDlgCtrlID(other.first) << " '"
            << windowtext(other.first) << "'";
      }
      placed.emplace_back(c, r);
    }
  }
}

TEST_F(ManagerDialogs, TheThreadLanguageChoosesTheDialog) {
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    threadlanguage_c choose(l.locale);
    for (const dialog_t& d : dialogs) {
      dialogholder_c chosen(CreateDialogParamA(module(), MAKEINTRESOURCEA(d.id), nullptr, quietproc, 0));
      dialogholder_c wanted(createinlanguage(d.id, l.locale));
      ASSERT_NE(chosen.hwnd, nullptr);
      EXPECT_EQ(windowtext(chosen.hwnd), windowtext(wanted.hwnd)) << d.id;
    }
  }
  threadlanguage_c spanish(1034);
  dialogholder_c options(CreateDialogParamA(module(), MAKEINTRESOURCEA(IDD_OPTIONS), nullptr, quietproc, 0));
  EXPECT_EQ(windowtext(options.hwnd), "Opciones del Manager");
}

}  // namespace
