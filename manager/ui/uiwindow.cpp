#include "manager/ui/uiwindow.h"

#include "manager/ui/uicontrol.h"
#include "manager/ui/uiresource.h"

uiwindow_c::~uiwindow_c() {
  if (window && IsWindow(window)) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  window = nullptr;
}

void uiwindow_c::destroy() {
  if (window && IsWindow(window)) DestroyWindow(window);
}

void uiwindow_c::center() {
  if (!exists()) return;
  RECT area;
  HWND parent = GetParent(window);
  if (parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    GetClientRect(parent, &area);
  } else if (parent) {
    GetWindowRect(parent, &area);
  } else {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return;
    area = info.rcWork;
  }
  RECT own;
  GetWindowRect(window, &own);
  int cx = own.right - own.left, cy = own.bottom - own.top;
  int x = area.left + ((area.right - area.left) - cx) / 2;
  int y = area.top + ((area.bottom - area.top) - cy) / 2;
  // Never push the caption off the top or left of the area.
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool uiwindow_c::registerclass(const char* name, UINT style, HCURSOR cursor, HBRUSH background) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(module, name, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = windowproc;
  wc.hInstance = module;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

bool uiwindow_c::createwindow(DWORD exstyle, const char* classname, const char* title, DWORD style, int x, int y,
                              int cx, int cy, HWND parent, HMENU menuorid) {
  if (exists()) return false;   // one window per object
  uiinitcontrols();
  HWND created = CreateWindowExA(exstyle, classname, title ? title : "", style, x, y, cx, cy, parent, menuorid,
                                 GetModuleHandleA(nullptr), this);
  if (!created) {
    window = nullptr;
    return false;
  }
  window = created;
  return true;
}

LRESULT uiwindow_c::handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  return defaulthandling(msg, wparam, lparam);
}

LRESULT CALLBACK uiwindow_c::windowproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  uiwindow_c* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
    self = cs ? static_cast<uiwindow_c*>(cs->lpCreateParams) : nullptr;
    if (self) {
      self->window = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<uiwindow_c*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wparam, lparam);

  LRESULT result = 0;
  try {
    if (!uireflect(hwnd, msg, wparam, lparam, result)) result = self->handlemessage(msg, wparam, lparam);
  } catch (...) {
    result = msg == WM_NCCREATE ? FALSE : msg == WM_CREATE ? -1 : 0;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->window = nullptr;
  }
  return result;
}
