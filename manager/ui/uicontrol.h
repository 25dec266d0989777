#pragma once
// Thin, non-owning wrapper of a control window (list, tree, up-down, status bar, ...): it holds
// the HWND and offers typed calls; the control is ended by its parent or by destroy().
//
// A class derived from a wrapper that needs the control's own messages (keys, clicks) or the
// notifications the control sends its parent (selection changed, column click, owner draw) calls
// subclass(). From then on the control's messages go through OnMessage, and every layer window
// and dialog that is the control's parent offers WM_NOTIFY, WM_COMMAND and WM_DRAWITEM from it to
// OnReflect first; what OnReflect handles, the parent does not see. The subclass is undone by
// unsubclass(), when the control is destroyed, or when the object goes away.
#include <windows.h>

#include "toolkit/string.h"

class uicontrol_c {
public:
  uicontrol_c() = default;
  explicit uicontrol_c(HWND control) : window(control) {}
  virtual ~uicontrol_c();
  uicontrol_c(const uicontrol_c&) = delete;
  uicontrol_c& operator=(const uicontrol_c&) = delete;

  HWND hwnd() const { return window; }
  bool exists() const { return window && IsWindow(window); }
  // Attach to an existing control (a dialog item, say); a subclass of the old one is undone.
  void attach(HWND control);
  HWND detach();
  // Create a control of a system class as a child; false when the system refused.
  bool create(const char* classname, DWORD style, DWORD exstyle, const RECT& rect, HWND parent, unsigned id,
              const char* text = nullptr);
  void destroy();

  bool subclass();
  void unsubclass();
  bool subclassed() const { return oldproc != nullptr; }

  unsigned id() const { return window ? (unsigned)GetDlgCtrlID(window) : 0; }
  string_c text() const;
  void settext(const char* text) { SetWindowTextA(window, text ? text : ""); }
  void enable(bool on) { EnableWindow(window, on ? TRUE : FALSE); }
  void show(bool on) { ShowWindow(window, on ? SW_SHOW : SW_HIDE); }
  void setredraw(bool on) { SendMessageA(window, WM_SETREDRAW, on ? TRUE : FALSE, 0); }
  void invalidate() { InvalidateRect(window, nullptr, TRUE); }
  HFONT font() const { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }
  void setfont(HFONT font, bool redraw = true) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
  }

  // The object of a subclassed control of this thread, or null.
  static uicontrol_c* fromhandle(HWND control);

protected:
  // A message sent or posted to the subclassed control. Return true when handled, with the
  // result in result; false lets the control's own procedure have it.
  virtual bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // A notification the control sent its parent, offered back by the parent. Return true when
  // handled (the parent then does not see it).
  virtual bool OnReflect(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // The control's own handling of a message, for OnMessage overrides that add to it.
  LRESULT defaultproc(UINT msg, WPARAM wparam, LPARAM lparam);

private:
  friend bool uireflect(HWND parent, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  static LRESULT CALLBACK subclassproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  HWND window = nullptr;
  WNDPROC oldproc = nullptr;
};

// Offers a notification parent received (WM_NOTIFY, WM_COMMAND from a control, WM_DRAWITEM of a
// control) to the sending control's object. True when that object handled it. Every window and
// dialog procedure of the layer calls this first. Only the control's own parent offers it: a
// notification passed further up (by a splitter to its frame) is not offered a second time.
bool uireflect(HWND parent, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
