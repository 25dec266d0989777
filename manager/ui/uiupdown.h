#pragma once
// Thin wrapper of an up-down control (the arrows beside a number edit, its buddy).
#include <windows.h>
#include <commctrl.h>

#include "manager/ui/uicontrol.h"

class uiupdown_c : public uicontrol_c {
public:
  uiupdown_c() = default;
  explicit uiupdown_c(HWND control) : uicontrol_c(control) {}

  void setrange(int low, int high) { SendMessageA(hwnd(), UDM_SETRANGE32, (WPARAM)low, (LPARAM)high); }
  void range(int& low, int& high) const {
    SendMessageA(hwnd(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  }
  // The previous position.
  int setpos(int pos) { return (int)SendMessageA(hwnd(), UDM_SETPOS32, 0, (LPARAM)pos); }
  // The position; ok (when given) is false when the buddy's text is not a number in range.
  int pos(bool* ok = nullptr) const {
    BOOL error = FALSE;
    int value = (int)SendMessageA(hwnd(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
    if (ok) *ok = !error;
    return value;
  }
  HWND setbuddy(HWND buddy) {
    return reinterpret_cast<HWND>(SendMessageA(hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0));
  }
  HWND buddy() const { return reinterpret_cast<HWND>(SendMessageA(hwnd(), UDM_GETBUDDY, 0, 0)); }
};
