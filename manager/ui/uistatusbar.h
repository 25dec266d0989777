#pragma once
// The frame's status bar: the system's status control along the bottom edge, across the full
// width. Its first pane shows the frame's messages (command prompts, the idle prompt).
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uicontrol.h"
#include "manager/ui/uicontrolbar.h"
#include "manager/ui/uiids.h"
#include "toolkit/string.h"

class uistatusbar_c : public uicontrolbar_c, public uicontrol_c {
public:
  uistatusbar_c();
  ~uistatusbar_c() override;

  // Creates the bar as a child of the frame (not yet added to its layout: frame.addbar()).
  bool create(uiframe_c& frame, unsigned id = uiid_statusbar, DWORD style = SBARS_SIZEGRIP);
  // Pane widths from the left in pixels; -1 for the last runs to the right edge.
  bool setpanes(const int* widths, int count);
  int panecount() const { return (int)SendMessageA(hwnd(), SB_GETPARTS, 0, 0); }
  bool setpanetext(int pane, const char* text, UINT drawstyle = 0);
  string_c panetext(int pane) const;

  HWND barwindow() const override { return hwnd(); }

protected:
  int thickness(bool vertical) const override;
  bool outermost() const override { return true; }
  void showmessage(const char* text) override { setpanetext(0, text); }
};
