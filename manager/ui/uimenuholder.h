#pragma once
// Owns a loaded menu and destroys it when it goes out of scope.
#include <windows.h>

class uimenuholder_c {
public:
  explicit uimenuholder_c(HMENU m) : menu(m) {}
  ~uimenuholder_c() {
    if (menu) DestroyMenu(menu);
  }
  uimenuholder_c(const uimenuholder_c&) = delete;
  uimenuholder_c& operator=(const uimenuholder_c&) = delete;
  HMENU get() const { return menu; }

private:
  HMENU menu;
};
