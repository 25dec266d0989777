#pragma once
// Base of a program's main window. It brings: menu, icon, accelerators and title from one
// resource id; a view (usually a splitter) filling the client area inside the docked bars;
// showing, hiding and docking of the bars, and their layout saved to and restored from the
// profile store; command states asked of the owner before a menu opens, at idle time for
// toolbar buttons, and before any menu, accelerator or toolbar command runs (a disabled command
// never runs); status-bar prompts and toolbar tooltips from the two halves of each command's
// string ("prompt\ntooltip"), and the idle prompt ("Ready") when nothing is pointed at.
//
// A derived frame builds its client area in OnCreateClient (create the view, setview()), its
// bars in OnCreate (create them as children, addbar()), answers for its commands in
// OnUpdateCommand, runs them in OnCommand, and sees any other message first in OnMessage.
//
// Saved bar layout (values of the profile store, prefix usually "BarState"):
//   section "<prefix>-Summary": "Bars"  (REG_DWORD) number of bar sections that follow;
//   section "<prefix>-Bar<n>", n from 0: "BarID" (REG_DWORD) the bar's id,
//     "Visible" (REG_DWORD) 1 shown / 0 hidden, "Side" (REG_DWORD) 0 top, 1 bottom, 2 left, 3 right.
// Reading it back trusts nothing: unknown bar ids, other visibility values and sides a bar does
// not accept are skipped one by one.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "manager/ui/uicommand.h"
#include "manager/ui/uicontrolbar.h"
#include "manager/ui/uiwindow.h"
#include "toolkit/string.h"

class uiprofile_c;

class uiframe_c : public uiwindow_c {
public:
  uiframe_c() = default;
  ~uiframe_c() override;

  // Creates the frame from resource resid: its menu, icon and accelerator table (each may be
  // missing) and, as title, the first line of the string with that id. False when the window
  // could not be created, OnCreateClient failed or OnCreate answered -1.
  bool load(unsigned resid, DWORD style, HWND parent = nullptr, DWORD exstyle = 0);
  HACCEL accelerators() const { return accel; }

  // Bars. A bar is a child of the frame; adding it docks it on side (or the nearest side it
  // accepts) and shows it.
  bool addbar(uicontrolbar_c& bar, uidock side);
  void removebar(uicontrolbar_c* bar);
  uicontrolbar_c* findbar(unsigned id) const;
  bool dockbar(uicontrolbar_c& bar, uidock side);
  void showbar(uicontrolbar_c& bar, bool show);
  void setview(HWND view);
  HWND view() const { return viewwindow; }
  void recalclayout();

  bool savebarstate(uiprofile_c& profile, const char* prefix = "BarState") const;
  // False when no saved layout was found (nothing changed then).
  bool loadbarstate(const uiprofile_c& profile, const char* prefix = "BarState");

  // Commands.
  cmdui_c querycommand(unsigned id);
  // Called by the application when its queue runs empty: bars refresh their button states.
  void idleupdate();
  // The prompt of a command in the status bar; 0 gives the idle prompt.
  void showprompt(unsigned id);
  void setmessagetext(const char* text);
  // The halves of a command's string: before and after the first line feed.
  static string_c commandprompt(unsigned id);
  static string_c commandtip(unsigned id);

  // The application's main frame ends the message loop when it is destroyed.
  void setquitondestroy(bool on) { quitondestroy = on; }

protected:
  // WM_CREATE, first step: build the view. False makes the creation fail.
  virtual bool OnCreateClient(const CREATESTRUCTA& cs);
  // WM_CREATE, second step: bars and the rest. -1 makes the creation fail.
  virtual int OnCreate(const CREATESTRUCTA& cs);
  // A command (menu, accelerator, toolbar: only when enabled) or a child's WM_COMMAND. True
  // when handled.
  virtual bool OnCommand(unsigned id, unsigned code, HWND control);
  // Answer for a command: ui arrives disabled and unchecked (bar commands arrive answered).
  virtual void OnUpdateCommand(cmdui_c& ui);
  // A notification from a child that its object did not take. True when handled.
  virtual bool OnNotify(NMHDR& header, LRESULT& result);
  // Any message, before the frame's own handling. True when handled (result in result).
  virtual bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);

  LRESULT handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  struct route {
    UINT msg;
    LRESULT (uiframe_c::*handler)(WPARAM, LPARAM);
  };
  static const route routes[];

  LRESULT oncreate(WPARAM, LPARAM);
  LRESULT onsize(WPARAM, LPARAM);
  LRESULT oncommand(WPARAM, LPARAM);
  LRESULT onnotify(WPARAM, LPARAM);
  LRESULT oninitmenupopup(WPARAM, LPARAM);
  LRESULT onmenuselect(WPARAM, LPARAM);
  LRESULT onerasebkgnd(WPARAM, LPARAM);
  LRESULT onsetfocus(WPARAM, LPARAM);
  LRESULT onactivate(WPARAM, LPARAM);
  LRESULT onncdestroy(WPARAM, LPARAM);

  bool isbarcontrol(HWND control) const;

  std::vector<uicontrolbar_c*> bars;
  HWND viewwindow = nullptr;
  HWND focussaved = nullptr;
  HACCEL accel = nullptr;
  bool quitondestroy = false;
  string_c tipbuffer;     // tooltip texts must outlive the notification that asked
  wstring_c tipbufferw;
};
