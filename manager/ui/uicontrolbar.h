#pragma once
// What a frame needs of a bar along its client area (toolbar, status bar): its window, its id
// (also the command that shows and hides it), the side it is docked on, whether it is shown,
// how thick it is across, and where it may dock. The frame lays the bars out around its view
// and saves their side and visibility with the rest of the program's settings.
#include <windows.h>

class uiframe_c;
struct cmdui_c;

// Saved as numbers: keep the values.
enum class uidock : int { top = 0, bottom = 1, left = 2, right = 3 };

constexpr unsigned uidockmask(uidock side) { return 1u << static_cast<int>(side); }
constexpr unsigned uidockany = 0xF;
inline bool uivertical(uidock side) { return side == uidock::left || side == uidock::right; }

class uicontrolbar_c {
public:
  uicontrolbar_c() = default;
  virtual ~uicontrolbar_c();
  uicontrolbar_c(const uicontrolbar_c&) = delete;
  uicontrolbar_c& operator=(const uicontrolbar_c&) = delete;

  virtual HWND barwindow() const = 0;
  unsigned barid() const { return id; }
  uidock side() const { return dockside; }
  // Shown as far as the frame's layout goes (the frame itself may be hidden).
  bool shown() const { return visible; }
  // The sides the bar accepts; docking anywhere else is refused.
  void setdockmask(unsigned mask) { dockmask = mask & uidockany; }
  bool candock(uidock side) const { return (dockmask & uidockmask(side)) != 0; }
  uiframe_c* frame() const { return owner; }

protected:
  friend class uiframe_c;
  // Pixels across the bar when docked on a side of that orientation.
  virtual int thickness(bool vertical) const = 0;
  // Put the bar into r, laid out for side (the default only moves and shows it).
  virtual void place(const RECT& r, uidock side);
  // Refresh the bar's command states from the frame (idle time); nothing by default.
  virtual void updatecommands(uiframe_c& frame);
  // Laid out before the other bars, across the full width (status bars).
  virtual bool outermost() const { return false; }
  // Show a message of the frame (status bars do; others ignore it).
  virtual void showmessage(const char* text);
  // True when control (a WM_COMMAND's sender) is the bar's button control.
  virtual bool ownscontrol(HWND control) const { return control && control == barwindow(); }

  void setbarid(unsigned barid) { id = barid; }
  void forgetframe();

private:
  uiframe_c* owner = nullptr;
  unsigned id = 0;
  uidock dockside = uidock::top;
  bool visible = true;
  unsigned dockmask = uidockany;
};
