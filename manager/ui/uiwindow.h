#pragma once
// Base of the layer's own window classes (frame, splitter, toolbar holder). The static window
// procedure keeps `this` in GWLP_USERDATA from WM_NCCREATE on and hands every message to
// handlemessage(); notifications from controls that have an object of their own are offered to
// that object first (see uicontrol_c). No exception gets past the procedure: a handler that
// throws gives the message's failure result (creation fails, anything else answers 0).
//
// The window belongs to the screen, not to the object: destroy() ends it, and so does its
// parent. Only as a safety net does the destructor end a window that is still there, after
// cutting it loose from the object so that no message reaches a half-destroyed object. A class
// derived further (a program's main frame) should call destroy() in its own destructor, while
// its members still exist.
#include <windows.h>

class uiwindow_c {
public:
  uiwindow_c() = default;
  virtual ~uiwindow_c();
  uiwindow_c(const uiwindow_c&) = delete;
  uiwindow_c& operator=(const uiwindow_c&) = delete;

  HWND hwnd() const { return window; }
  bool exists() const { return window && IsWindow(window); }
  void destroy();

  // Centre the window on its parent, or on the work area of its monitor without one.
  void center();

protected:
  // Registers the class once per process, with the layer's window procedure.
  static bool registerclass(const char* name, UINT style, HCURSOR cursor, HBRUSH background);
  // Creates a window of a registered class for this object; false when the system refused it or
  // WM_CREATE answered -1.
  bool createwindow(DWORD exstyle, const char* classname, const char* title, DWORD style, int x, int y, int cx,
                    int cy, HWND parent, HMENU menuorid);

  // Every message of the window. The default is the system's handling.
  virtual LRESULT handlemessage(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT defaulthandling(UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, msg, wparam, lparam);
  }

private:
  static LRESULT CALLBACK windowproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  HWND window = nullptr;
};
