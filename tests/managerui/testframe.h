#pragma once
// A small main frame on the window layer, built the way the Manager's frame is: a splitter with
// a tree and a list as its view, the toolbar from resource IDR_TESTFRAME docked at the top, a
// status bar with one 3000-pixel pane, and a command table whose answers the tests change.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "manager/ui/uiframe.h"
#include "manager/ui/uilistview.h"
#include "manager/ui/uisplitter.h"
#include "manager/ui/uistatusbar.h"
#include "manager/ui/uitoolbar.h"
#include "manager/ui/uitreeview.h"
#include "tests/managerui/testui.h"

class testframe_c : public uiframe_c {
public:
  enum failure { none, clientfails, createfails, createthrows };

  explicit testframe_c(failure how = none) : fail(how) {}
  ~testframe_c() override { destroy(); }

  // Frames stay hidden unless a test needs them on screen: under Wine without a window manager,
  // ending a top-level window that was ever shown waits two seconds for the X server.
  bool open(bool visible = false) {
    if (!load(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW)) return false;
    SetWindowPos(hwnd(), nullptr, 50, 50, 640, 480, SWP_NOZORDER);
    if (visible) ShowWindow(hwnd(), SW_SHOWNORMAL);
    return true;
  }

  uitoolbar_c toolbar;
  uistatusbar_c statusbar;
  uisplitter_c splitter;
  uitreeview_c tree;
  uilistview_c list;

  // What the commands did, and the answers the frame gives.
  int refreshes = 0, deletes = 0, sents = 0, reads = 0, exits = 0;
  bool sent = false;
  bool deleteallowed = false;
  bool readallowed = true;
  bool refreshthrows = false;
  std::vector<UINT> notifycodes;   // every WM_NOTIFY code that reached the frame's own handler
  bool sawnotify(UINT code) const {
    return std::find(notifycodes.begin(), notifycodes.end(), code) != notifycodes.end();
  }

protected:
  bool OnCreateClient(const CREATESTRUCTA&) override {
    if (fail == clientfails) return false;
    if (!splitter.create(hwnd())) return false;
    if (!tree.create(splitter.hwnd(), uisplitter_c::paneid(0),
                     WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS))
      return false;
    if (!list.create(splitter.hwnd(), uisplitter_c::paneid(1), WS_CHILD | WS_VISIBLE | LVS_REPORT)) return false;
    splitter.setpane(0, tree.hwnd(), 196);
    splitter.setpane(1, list.hwnd());
    setview(splitter.hwnd());
    return true;
  }

  int OnCreate(const CREATESTRUCTA&) override {
    if (fail == createfails) return -1;
    if (fail == createthrows) throw std::runtime_error("no toolbar today");
    if (!toolbar.create(*this) || !toolbar.load(IDR_TESTFRAME)) return -1;
    if (!statusbar.create(*this)) return -1;
    const int widths[] = {3000};
    statusbar.setpanes(widths, 1);
    toolbar.settitle("Standard");
    addbar(toolbar, uidock::top);
    addbar(statusbar, uidock::bottom);
    return 0;
  }

  bool OnCommand(unsigned id, unsigned, HWND) override;
  void OnUpdateCommand(cmdui_c& ui) override;
  bool OnNotify(NMHDR& header, LRESULT&) override {
    notifycodes.push_back(header.code);
    return false;
  }

private:
  void onrefresh() {
    if (refreshthrows) throw std::runtime_error("refresh failed");
    ++refreshes;
  }
  void ondelete() { ++deletes; }
  void updatedelete(cmdui_c& ui) { ui.enable(deleteallowed); }
  void onsent() {
    ++sents;
    sent = !sent;
  }
  void updatesent(cmdui_c& ui) {
    ui.enable();
    ui.check(sent);
  }
  void onread() { ++reads; }
  void updateread(cmdui_c& ui) { ui.enable(readallowed); }
  void onexit() { ++exits; }

  static const uicommand_t<testframe_c> commands[];
  failure fail;
};

// ID_FAILED is known but has no handler: it must show disabled. ID_CONTENTS is unknown.
inline const uicommand_t<testframe_c> testframe_c::commands[] = {
    {ID_REFRESH, &testframe_c::onrefresh, nullptr},
    {ID_DELETE, &testframe_c::ondelete, &testframe_c::updatedelete},
    {ID_SENT, &testframe_c::onsent, &testframe_c::updatesent},
    {ID_READ, &testframe_c::onread, &testframe_c::updateread},
    {ID_FAILED, nullptr, nullptr},
    {ID_EXIT, &testframe_c::onexit, nullptr},
};

inline bool testframe_c::OnCommand(unsigned id, unsigned, HWND) { return uiruncommand(*this, commands, id); }
inline void testframe_c::OnUpdateCommand(cmdui_c& ui) { uiupdatecommand(*this, commands, ui); }
