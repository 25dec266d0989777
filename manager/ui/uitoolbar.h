#pragma once
// A dockable toolbar: a holder window with a gripper, docked by the frame on any side it
// accepts, and the system's button control inside it. The buttons come from a layout resource
// (type 241: version 1, image width, image height, button count, then the command ids, 0 for a
// separator) and the bitmap of the same id; a button is its image plus 7 pixels each way. Their
// commands and notifications go straight to the frame, which gives the tooltips; pointing at a
// button shows its prompt in the status bar. Dragging the gripper towards an edge of the frame
// docks the bar there; on the left and right the buttons stack vertically.
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uicontrol.h"
#include "manager/ui/uicontrolbar.h"
#include "manager/ui/uiids.h"
#include "manager/ui/uiwindow.h"

class uitoolbar_c : public uicontrolbar_c, public uiwindow_c {
public:
  uitoolbar_c();
  ~uitoolbar_c() override;

  // Creates the bar as a child of the frame (not yet added to its layout: frame.addbar()).
  bool create(uiframe_c& frame, unsigned id = uiid_toolbar, DWORD buttonstyle = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS);
  // Replaces the buttons with those of layout resource resid and its bitmap. False, with no
  // buttons, when either is missing or the layout is malformed.
  bool load(unsigned resid);
  // Shown while the bar floats or is listed; kept as the holder's window text.
  void settitle(const char* title) { SetWindowTextA(hwnd(), title ? title : ""); }

  HWND control() const { return buttons.hwnd(); }
  HWND barwindow() const override { return hwnd(); }
  int buttoncount() const;
  // Where the gripper is, in the bar's client coordinates (tests drag it).
  RECT gripperrect() const;

protected:
  int thickness(bool vertical) const override;
  void place(const RECT& r, uidock side) override;
  void updatecommands(uiframe_c& frame) override;
  bool ownscontrol(HWND control) const override;
  LRESULT handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  class buttons_c : public uicontrol_c {
  public:
    uitoolbar_c* outer = nullptr;

  protected:
    bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  };

  void pointat(unsigned id);
  void setwrapped(bool vertical);
  void paintgripper(HDC dc);
  void enddrag(POINT at);

  buttons_c buttons;
  bool verticallayout = false;
  bool dragging = false;
  POINT dragstart = {0, 0};
  unsigned hotid = 0;
  bool tracking = false;
};
