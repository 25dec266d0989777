#include "manager/ui/uicontrolbar.h"

#include "manager/ui/uiframe.h"

uicontrolbar_c::~uicontrolbar_c() { forgetframe(); }

void uicontrolbar_c::forgetframe() {
  if (owner) owner->removebar(this);
  owner = nullptr;
}

void uicontrolbar_c::place(const RECT& r, uidock) {
  HWND bar = barwindow();
  if (!bar) return;
  SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void uicontrolbar_c::updatecommands(uiframe_c&) {}

void uicontrolbar_c::showmessage(const char*) {}
