#include "manager/mainframe.h"

#include <cstdio>
#include <cstring>

#include "manager/mainframesettings.h"
#include "manager/managerapp.h"
#include "manager/movedialog.h"
#include "manager/optionsdialog.h"
#include "manager/routedialog.h"
#include "manager/res/resource.h"
#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiids.h"
#include "manager/ui/uiprofile.h"
#include "manager/ui/uiresource.h"
#include "toolkit/string.h"

namespace {

const char iniFile[] = "RIROVEVI.INI";
const char barState[] = "BarState";

DWORD systemmajorversion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return 0;
  return info.dwMajorVersion;
}

std::function<void()>& beephook() {
  static std::function<void()> hook;
  return hook;
}

int inioptionint(const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA("Options", key, fallback, iniFile));
}

void writeoptionunsigned(const char* key, unsigned long value) {
  char text[32];
  snprintf(text, sizeof text, "%lu", value);
  WritePrivateProfileStringA("Options", key, text, iniFile);
}

screenrect torect(const RECT& r) {
  return screenrect{static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
                    static_cast<int32_t>(r.bottom)};
}

// The saved placement made safe to apply: a normal position with a size that shows at least the
// start of the caption on a screen, a show state the system knows, and a maximized position
// the maximized window can be seen at. False when the value is no placement at all.
bool placementfromtext(const windowpostext& pos, WINDOWPLACEMENT& wp) {
  wp = WINDOWPLACEMENT();
  wp.length = sizeof wp;
  wp.flags = pos.flags & WPF_RESTORETOMAXIMIZED;
  wp.showCmd = pos.showcmd >= SW_SHOWNORMAL && pos.showcmd <= SW_SHOWDEFAULT ? pos.showcmd : SW_SHOWNORMAL;
  wp.ptMinPosition = POINT{pos.minx, pos.miny};
  wp.ptMaxPosition = POINT{pos.maxx, pos.maxy};

  // The placement's rectangles are in workspace coordinates: relative to the primary monitor's
  // work area.
  RECT primary = {0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0);
  screenrect want = {pos.left, pos.top, pos.right, pos.bottom};
  if (want.right <= want.left || want.bottom <= want.top) return false;
  RECT onscreen = {static_cast<LONG>(want.left) + primary.left, static_cast<LONG>(want.top) + primary.top,
                   static_cast<LONG>(want.right) + primary.left, static_cast<LONG>(want.bottom) + primary.top};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  HMONITOR nearest = MonitorFromRect(&onscreen, MONITOR_DEFAULTTONEAREST);
  if (!nearest || !GetMonitorInfoA(nearest, &monitor)) return false;
  screenrect area = torect(monitor.rcWork);
  screenrect workspace = {area.left - primary.left, area.top - primary.top, area.right - primary.left,
                          area.bottom - primary.top};
  screenrect fitted;
  if (!fitwindowrect(want, workspace, fitted) || fitted.right <= fitted.left || fitted.bottom <= fitted.top)
    return false;
  wp.rcNormalPosition = RECT{fitted.left, fitted.top, fitted.right, fitted.bottom};

  // A maximized window far off every screen cannot be reached; the system then chooses.
  RECT desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  desktop.right = desktop.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  desktop.bottom = desktop.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const LONG margin = 64;
  if (wp.ptMaxPosition.x < desktop.left - margin || wp.ptMaxPosition.x >= desktop.right ||
      wp.ptMaxPosition.y < desktop.top - margin || wp.ptMaxPosition.y >= desktop.bottom)
    wp.ptMaxPosition = POINT{-1, -1};
  return true;
}

}  // namespace

// Every command the frame answers for, with its handler and its enable rule (none: always
// enabled). A command that is disabled is not run either, whichever way it arrives.
const uicommand_t<CMainFrame> CMainFrame::commands[] = {
    {ID_OPEN_MANAGER, &CMainFrame::OpenManager, nullptr},
    {ID_NEW_FAX, &CMainFrame::OnNewFax, nullptr},
    {ID_EXPORT_LOG, &CMainFrame::OnExportLog, nullptr},
    {ID_HELP_CONTENTS, &CMainFrame::OnHelpContents, nullptr},
    {ID_EVENT_VIEW, &CMainFrame::OnView, &CMainFrame::UpdateOneSelected},
    {ID_EVENT_PRINT, &CMainFrame::OnPrint, &CMainFrame::UpdateOneSelected},
    {ID_EVENT_DETAILS, &CMainFrame::OnDetails, &CMainFrame::UpdateOneSelected},
    {ID_EVENT_FORWARD, &CMainFrame::OnForward, &CMainFrame::UpdateOneSelected},
    {ID_EVENT_ROUTE, &CMainFrame::OnRoute, &CMainFrame::UpdateOwnSelected},
    {ID_EVENT_RESUBMIT, &CMainFrame::OnResubmit, &CMainFrame::UpdateOwnSelected},
    {ID_EVENT_DELETE, &CMainFrame::OnDelete, &CMainFrame::UpdateAnySelected},
    {ID_EVENT_MOVE, &CMainFrame::OnMove, &CMainFrame::UpdateAnySelected},
    {ID_VIEW_REFRESH, &CMainFrame::OnRefresh, nullptr},
    {ID_VIEW_SENT, &CMainFrame::OnSentItems, &CMainFrame::UpdateSentItems},
    {ID_VIEW_READ, &CMainFrame::OnReadItems, &CMainFrame::UpdateReadItems},
    {ID_VIEW_FAILED, &CMainFrame::OnFailedItems, &CMainFrame::UpdateFailedItems},
    {ID_OPTIONS, &CMainFrame::OnOptions, nullptr},
    {ID_FOLDER_NEW, &CMainFrame::OnNewFolder, nullptr},
    {ID_FOLDER_DELETE, &CMainFrame::OnDeleteFolder, &CMainFrame::UpdateDeleteFolder},
    {ID_APP_ABOUT, &CMainFrame::OnAbout, nullptr},
    {ID_APP_EXIT, &CMainFrame::CloseManager, nullptr},
};
const size_t CMainFrame::commandcount = sizeof commands / sizeof commands[0];

CMainFrame::CMainFrame(uiprofile_c& store) : CMainFrame(store, systemmajorversion()) {}

CMainFrame::CMainFrame(uiprofile_c& store, DWORD majorversion)
    : HideOnMinimize(majorversion >= 4 ? 1 : 0), profile(store), tray(IDR_TRAYMENU) {}

CMainFrame::~CMainFrame() { destroy(); }

std::function<void()> CMainFrame::SetBeepForTests(std::function<void()> beep) {
  std::function<void()> before = std::move(beephook());
  beephook() = std::move(beep);
  return before;
}

void CMainFrame::Beep() {
  if (beephook()) {
    std::function<void()> hook = beephook();
    hook();
    return;
  }
  MessageBeep(MB_OK);
}

// ---- creation ----

bool CMainFrame::OnCreateClient(const CREATESTRUCTA&) { return BuildPanes(); }

int CMainFrame::OnCreate(const CREATESTRUCTA&) {
  int result = BuildWindow();
  // A window that fails here is gone without a WM_DESTROY on some systems: its icon must not
  // stay behind in the notification area.
  if (result == -1) tray.ShowIconById(0);
  return result;
}

bool CMainFrame::BuildPanes() {
  if (!splitter.create(hwnd())) return false;
  RECT listrect = {0, 0, 50, 32};
  if (!eventlist.Create(splitter.hwnd(), uisplitter_c::paneid(1), listrect)) return false;
  if (!foldertree.Create(splitter.hwnd(), uisplitter_c::paneid(0))) return false;
  SetWindowPos(foldertree.hwnd(), nullptr, 0, 0, 196, 32, SWP_NOZORDER | SWP_NOACTIVATE);
  splitter.setpane(0, foldertree.hwnd(), 196);
  splitter.setpane(1, eventlist.hwnd());
  setview(splitter.hwnd());
  return true;
}

int CMainFrame::BuildWindow() {
  if (!toolbar.Create(*this) || !toolbar.LoadToolBar(IDR_MAINFRAME)) return -1;
  if (!statusbar.create(*this)) return -1;
  const int panes[] = {3000};
  if (!statusbar.setpanes(panes, 1)) return -1;

  toolbar.settitle(uistring(IDS_TOOLBAR_TITLE, "Standard").text());
  addbar(toolbar, uidock::top);
  addbar(statusbar, uidock::bottom);
  recalclayout();

  SetFocus(eventlist.hwnd());

  tray.SetNotifyTarget(hwnd(), TrayMessage);
  tray.ShowIconById(IDI_TRAY);

  // The Inbox comes first, whatever direction was shown at the last close.
  DWORD filter = GetPrivateProfileIntA("Options", "Filter", 28, iniFile);
  eventlist.Filter = (filter & ~static_cast<DWORD>(2)) | 1;
  // A sort column the list does not have would sort by nothing.
  int sortby = inioptionint("SortBy", 0);
  eventlist.SortBy = sortby >= 0 && sortby < LIST_COLUMNS ? sortby : 0;

  char mailbox[512] = "";
  GetPrivateProfileStringA("Directories", "Mailbox", "", mailbox, sizeof mailbox, iniFile);
  if (!mailbox[0]) return -1;
  if (!eventlist.OpenMailbox(mailbox)) return -1;
  // The list already shows the Inbox: the tree's owner is set after the fill, so that the
  // fill's own selection does not open the mailbox a second time.
  if (!foldertree.FillTree()) return -1;
  foldertree.SetOwner(this, hwnd());

  char columns[128] = "";
  GetPrivateProfileStringA("Options", "Columns", "0,0,0,0", columns, sizeof columns, iniFile);
  int widths[LIST_COLUMNS];
  if (parsecolumns(columns[0] ? columns : "0,0,0,0", widths) == LIST_COLUMNS) {
    for (int column = 0; column < LIST_COLUMNS; ++column) {
      int width = columnwidthsetting(widths[column]);
      if (width > 0) eventlist.setcolumnwidth(column, width);
    }
  }

  scanperiodms = scanperiod(inioptionint("ScanTime", 5));
  timerid = SetTimer(hwnd(), ScanTimer, scanperiodms, nullptr);
  if (!timerid) scanperiodms = 0;

  UpdateNotifications();
  return 0;
}

// ---- showing ----

void CMainFrame::FirstShow(int show) {
  string_c text = profile.getstring("Settings", "WindowPos");
  windowpostext pos;
  WINDOWPLACEMENT wp;
  if (parsewindowpos(text.text(), pos) < WINDOWPOS_FIELDS || !placementfromtext(pos, wp)) {
    center();
    ShowWindow(hwnd(), show);
    return;
  }
  if (show != SW_SHOWNORMAL) wp.showCmd = static_cast<UINT>(show);
  SetWindowPlacement(hwnd(), &wp);
  loadbarstate(profile, barState);
  ShowWindow(hwnd(), static_cast<int>(wp.showCmd));
}

void CMainFrame::OpenManager() {
  if (IsIconic(hwnd())) {
    ShowWindow(hwnd(), SW_SHOWNORMAL);
  } else if (!IsWindowVisible(hwnd())) {
    ShowWindow(hwnd(), SW_SHOW);
  }
  SetForegroundWindow(hwnd());
}

void CMainFrame::CloseManager() {
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  if (GetWindowPlacement(hwnd(), &wp)) {
    windowpostext pos;
    pos.flags = IsZoomed(hwnd()) ? WPF_RESTORETOMAXIMIZED : 0;
    pos.showcmd = wp.showCmd;
    pos.minx = wp.ptMinPosition.x;
    pos.miny = wp.ptMinPosition.y;
    pos.maxx = wp.ptMaxPosition.x;
    pos.maxy = wp.ptMaxPosition.y;
    pos.left = wp.rcNormalPosition.left;
    pos.top = wp.rcNormalPosition.top;
    pos.right = wp.rcNormalPosition.right;
    pos.bottom = wp.rcNormalPosition.bottom;
    char text[128];
    formatwindowpos(pos, text, sizeof text);
    profile.writestring("Settings", "WindowPos", text);
  }
  savebarstate(profile, barState);

  writeoptionunsigned("Filter", eventlist.Filter);
  writeoptionunsigned("SortBy", static_cast<unsigned long>(eventlist.SortBy));
  char columns[64];
  snprintf(columns, sizeof columns, "%d,%d,%d,%d", eventlist.columnwidth(0), eventlist.columnwidth(1),
           eventlist.columnwidth(2), eventlist.columnwidth(3));
  WritePrivateProfileStringA("Options", "Columns", columns, iniFile);

  destroy();
}

// ---- scanning and notifications ----

void CMainFrame::UpdateNotifications() {
  if (!exists()) return;
  if (!IsWindowVisible(hwnd()) || IsIconic(hwnd())) {
    struct notice {
      int happened;
      const char* popupkey;
      const char* messagekey;
      unsigned fallback;
    };
    const notice notices[] = {
        {eventlist.NewUnread(), "PopupNew", "MessageNew", IDS_NOTIFY_NEW},
        {eventlist.NewFailed(), "PopupFailed", "MessageFailed", IDS_NOTIFY_FAILED},
    };
    for (const notice& n : notices) {
      if (n.happened != 1) continue;
      if (n.fallback == IDS_NOTIFY_NEW && inioptionint("BeepNew", 0) != 0) Beep();
      if (inioptionint(n.popupkey, 1) == 0) continue;
      char text[256] = "";
      GetPrivateProfileStringA("Options", n.messagekey, "", text, sizeof text, iniFile);
      string_c message = text[0] ? string_c(text) : uistring(n.fallback);
      SetForegroundWindow(hwnd());
      managermessagebox(hwnd(), message.text(), MB_OK | MB_ICONINFORMATION, "Ravelink");
      // The user may have ended the program from the notification area while the box was open.
      if (!exists()) return;
    }
  }
  unsigned icon = IDI_TRAY;
  if (eventlist.HasUnread() == 1 && eventlist.NewFailed() == 1) {
    icon = IDI_TRAY_BOTH;
  } else if (eventlist.HasUnread() == 1) {
    icon = IDI_TRAY_UNREAD;
  } else if (eventlist.NewFailed() == 1) {
    icon = IDI_TRAY_FAILED;
  }
  tray.ShowIconById(icon);
}

void CMainFrame::ToggleFilter(DWORD bit) {
  eventlist.Filter ^= bit;
  eventlist.Reload();
  UpdateNotifications();
}

void CMainFrame::ShowInbox() {
  eventlist.Filter = (eventlist.Filter & ~static_cast<DWORD>(2)) | 1;
  if (eventlist.OpenMailbox(nullptr)) UpdateNotifications();
}

void CMainFrame::ShowOutbox() {
  eventlist.Filter = (eventlist.Filter & ~static_cast<DWORD>(1)) | 2;
  if (eventlist.OpenMailbox(nullptr)) UpdateNotifications();
}

void CMainFrame::ShowNothing() {
  eventlist.Filter &= ~static_cast<DWORD>(3);
  eventlist.Reload();
}

void CMainFrame::ShowFolder(const char* directory) {
  eventlist.Filter |= 3;
  string_c path(directory ? directory : "");
  int length = path.length();
  if (length == 0 || path.text()[length - 1] != '\\') path.append("\\");
  path.append("mailbox.rlb");
  if (!eventlist.OpenMailbox(path.text())) {
    eventlist.Filter &= ~static_cast<DWORD>(3);
    eventlist.deleteallitems();
  }
}

// ---- commands ----

bool CMainFrame::OnCommand(unsigned id, unsigned, HWND) {
  cmdui_c ui;
  ui.id = id;
  if (uiupdatecommand(*this, commands, commandcount, ui) && !ui.enabled) return true;
  return uiruncommand(*this, commands, commandcount, id);
}

void CMainFrame::OnUpdateCommand(cmdui_c& ui) { uiupdatecommand(*this, commands, commandcount, ui); }

void CMainFrame::UpdateFilterItem(cmdui_c& ui, DWORD bit) {
  ui.enable();
  ui.check((eventlist.Filter & bit) != 0);
}

void CMainFrame::OnRefresh() {
  eventlist.Reload();
  UpdateNotifications();
}

void CMainFrame::OnAbout() { CManagerApp::ShowAbout(hwnd()); }

void CMainFrame::OnNewFax() { CManListCtrl::NewFax(hwnd()); }

void CMainFrame::OnExportLog() { eventlist.ExportLog(); }

void CMainFrame::OnHelpContents() { CManListCtrl::HelpContents(hwnd()); }

void CMainFrame::OnOptions() {
  COptionsDlg dialog;
  dialog.domodal(hwnd());
}

void CMainFrame::OnRoute() {
  if (eventlist.selectedcount() < 1) return;
  CRouteDlg dialog(eventlist);
  dialog.domodal(hwnd());
}

// Move to Folder: the dialog chooses the destination (Inbox or Outbox: the user's own mailbox;
// a personal folder: its mailbox file) and whether the source events stay.
void CMainFrame::OnMove() {
  CMoveDlg dialog;
  if (dialog.domodal(hwnd()) != IDOK) return;
  if (dialog.Tree.MainFolderSelected() == 1) {
    eventlist.MoveSelected(nullptr, dialog.Copy);
    return;
  }
  string_c destination(dialog.Tree.FolderPath());
  // A folder's directory is never empty here; nothing is moved if it were.
  if (destination.length() == 0) return;
  if (destination.text()[destination.length() - 1] != '\\') destination.append("\\");
  destination.append("mailbox.rlb");
  eventlist.MoveSelected(destination.text(), dialog.Copy);
}

// ---- messages ----

bool CMainFrame::OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (msg) {
    // WM_TIMER(id): a scan.
    case WM_TIMER:
      if (wparam != ScanTimer) return false;
      eventlist.Reload();
      UpdateNotifications();
      result = 0;
      return true;
    // WM_MEASUREITEM(id, MEASUREITEMSTRUCT*): the list's rows are measured before the list can
    // take its own messages.
    case WM_MEASUREITEM:
      if (!CManListCtrl::MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam), eventlist.hwnd())) return false;
      result = TRUE;
      return true;
    // The notification-area icon's message (id, mouse message).
    case TrayMessage:
      tray.HandleTrayMessage(static_cast<UINT>(wparam), static_cast<UINT>(lparam));
      result = 0;
      return true;
    // WM_CLOSE: the close box.
    case WM_CLOSE:
      CloseManager();
      result = 0;
      return true;
    // WM_ACTIVATE(state, minimized, other): a minimized window leaves the task bar once another
    // window takes the activation.
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE && (HIWORD(wparam) || IsIconic(hwnd())) && HideOnMinimize == 1)
        ShowWindow(hwnd(), SW_HIDE);
      return false;
    // WM_SIZE(type, cx, cy): where no other window takes the activation (a desktop without a
    // shell), a minimized window would stay active and never hide; it hides at once.
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED && HideOnMinimize == 1 && IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
      return false;
    // WM_DESTROY: the scan stops and the icon leaves the notification area with the window.
    case WM_DESTROY:
      if (timerid) KillTimer(hwnd(), timerid);
      timerid = 0;
      scanperiodms = 0;
      tray.ShowIconById(0);
      return false;
  }
  return false;
}
