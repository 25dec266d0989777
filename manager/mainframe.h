#pragma once
// The Manager's main window: menu, toolbar, status bar, and a client area split into the folder
// tree (left) and the event list (right); the notification-area icon belongs to it too.
//
// Its timer reloads the event list every scan period; after each reload it tells the user about
// new and failed events: a beep and message boxes while the window is hidden or minimized, and
// always the icon and tooltip in the notification area. It restores the window placement and the
// bar layout at the first show and saves them, with the list's filter, sort column and column
// widths, when it closes. Minimized, it hides itself in the notification area.
//
// Settings: RIROVEVI.INI (Windows directory) section Options: Filter, SortBy, Columns, ScanTime,
// BeepNew, PopupNew, MessageNew, PopupFailed, MessageFailed; section Directories: Mailbox. The
// profile store: WindowPos in section Settings, and the bar layout in the "BarState" sections.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "manager/eventlist.h"
#include "manager/folders.h"
#include "manager/mytoolbar.h"
#include "manager/trayicon.h"
#include "manager/ui/uiholders.h"
#include "manager/ui/uiframe.h"
#include "manager/ui/uisplitter.h"
#include "manager/ui/uistatusbar.h"

class uiprofile_c;

class CMainFrame : public uiframe_c, public CManFolders::Owner {
public:
  // The frame keeps its window placement and bar layout in profile, which must outlive it.
  // Hiding on minimize follows the operating system's major version (4 or higher).
  explicit CMainFrame(uiprofile_c& profile);
  CMainFrame(uiprofile_c& profile, DWORD majorversion);
  ~CMainFrame() override;

  // 1 when the window hides itself in the notification area once minimized.
  int HideOnMinimize;

  // The first show: the saved placement and bar layout, or centered in the default size.
  void FirstShow(int show);
  // Beep, message boxes and the notification-area icon after a reload.
  void UpdateNotifications();
  // Flips one of the list's filter bits (4 Read, 8 Sent, 16 Failed) and reloads.
  void ToggleFilter(DWORD bit);
  // What the folder tree's selection shows.
  void ShowInbox() override;
  void ShowOutbox() override;
  void ShowNothing() override;
  void ShowFolder(const char* directory) override;
  // Back from the notification area: restored, shown and in front.
  void OpenManager();
  // Saves placement, bar layout and list settings, then ends the window.
  void CloseManager();

  CManListCtrl& ListPane() { return eventlist; }
  CManFolders& TreePane() { return foldertree; }
  CTrayIcon& TrayIcon() { return tray; }
  CMyToolBar& ToolBar() { return toolbar; }
  uistatusbar_c& StatusBar() { return statusbar; }
  uisplitter_c& Splitter() { return splitter; }
  // The scan timer's period in milliseconds; 0 while it does not run.
  unsigned ScanPeriod() const { return scanperiodms; }

  // The scan timer's id and the message the notification-area icon sends.
  static constexpr UINT_PTR ScanTimer = 1;
  static constexpr UINT TrayMessage = WM_USER;

  // Tests cannot hear a beep: while set, this is called instead of sounding one.
  static std::function<void()> SetBeepForTests(std::function<void()> beep);

protected:
  bool OnCreateClient(const CREATESTRUCTA& cs) override;
  int OnCreate(const CREATESTRUCTA& cs) override;
  bool OnCommand(unsigned id, unsigned code, HWND control) override;
  void OnUpdateCommand(cmdui_c& ui) override;
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

private:
  bool BuildPanes();
  int BuildWindow();
  void Beep();

  // Commands.
  void OnRefresh();
  void OnSentItems() { ToggleFilter(8); }
  void OnReadItems() { ToggleFilter(4); }
  void OnFailedItems() { ToggleFilter(16); }
  void OnAbout();
  void OnNewFax();
  void OnExportLog();
  void OnHelpContents();
  void OnView() { eventlist.ViewEvent(0); }
  void OnPrint() { eventlist.ViewEvent(1); }
  void OnDetails() { eventlist.ShowDetails(); }
  void OnForward() { eventlist.ForwardEvent(); }
  void OnRoute();
  void OnResubmit() { eventlist.ResubmitSelected(); }
  void OnDelete() { eventlist.DeleteSelected(1); }
  void OnMove();
  void OnOptions();
  void OnNewFolder() { foldertree.CreateFolder(); }
  void OnDeleteFolder() { foldertree.DeleteFolder(); }
  // Enable rules of the event commands: exactly one row selected; at least one; at least one in
  // the user's own mailbox (routing and resubmitting make no sense in a personal folder).
  void UpdateOneSelected(cmdui_c& ui) { ui.enable(eventlist.selectedcount() == 1); }
  void UpdateAnySelected(cmdui_c& ui) { ui.enable(eventlist.selectedcount() > 0); }
  void UpdateOwnSelected(cmdui_c& ui) { ui.enable(eventlist.selectedcount() > 0 && eventlist.PersonalOpen() == 0); }
  void UpdateDeleteFolder(cmdui_c& ui) { ui.enable(foldertree.PersonalFolderSelected() == 1); }
  void UpdateSentItems(cmdui_c& ui) { UpdateFilterItem(ui, 8); }
  void UpdateReadItems(cmdui_c& ui) { UpdateFilterItem(ui, 4); }
  void UpdateFailedItems(cmdui_c& ui) { UpdateFilterItem(ui, 16); }
  void UpdateFilterItem(cmdui_c& ui, DWORD bit);

  static const uicommand_t<CMainFrame> commands[];
  static const size_t commandcount;

  uiprofile_c& profile;
  uisplitter_c splitter;
  CManListCtrl eventlist;
  CManFolders foldertree;
  CMyToolBar toolbar;
  uistatusbar_c statusbar;
  CTrayIcon tray;
  UINT_PTR timerid = 0;
  unsigned scanperiodms = 0;
};
