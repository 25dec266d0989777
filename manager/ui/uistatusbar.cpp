#include "manager/ui/uistatusbar.h"

#include <vector>

#include "manager/ui/uiframe.h"

uistatusbar_c::uistatusbar_c() { setdockmask(uidockmask(uidock::bottom)); }

uistatusbar_c::~uistatusbar_c() { forgetframe(); }

bool uistatusbar_c::create(uiframe_c& frame, unsigned id, DWORD style) {
  if (exists() || !frame.exists()) return false;
  RECT none = {0, 0, 0, 0};
  if (!uicontrol_c::create(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | style, 0, none, frame.hwnd(), id)) return false;
  setbarid(id);
  return true;
}

bool uistatusbar_c::setpanes(const int* widths, int count) {
  if (!widths || count <= 0 || count > 255) return false;
  std::vector<int> edges((size_t)count);
  int right = 0;
  for (int i = 0; i < count; ++i) {
    if (widths[i] < 0) {
      edges[(size_t)i] = -1;   // to the end; nothing can follow it
      count = i + 1;
      break;
    }
    right += widths[i];
    edges[(size_t)i] = right;
  }
  return SendMessageA(hwnd(), SB_SETPARTS, (WPARAM)count, reinterpret_cast<LPARAM>(edges.data())) != 0;
}

bool uistatusbar_c::setpanetext(int pane, const char* text, UINT drawstyle) {
  if (pane < 0 || pane > 255) return false;
  return SendMessageA(hwnd(), SB_SETTEXTA, (WPARAM)(pane | drawstyle), reinterpret_cast<LPARAM>(text ? text : "")) !=
         0;
}

string_c uistatusbar_c::panetext(int pane) const {
  string_c result;
  if (pane < 0 || pane > 255) return result;
  int length = LOWORD(SendMessageA(hwnd(), SB_GETTEXTLENGTHA, (WPARAM)pane, 0));
  char* buffer = result.getbuffer(length + 1);
  if (buffer) SendMessageA(hwnd(), SB_GETTEXTA, (WPARAM)pane, reinterpret_cast<LPARAM>(buffer));
  return result;
}

int uistatusbar_c::thickness(bool) const {
  // The control knows its own height (from its font); it takes it on any resize.
  SendMessageA(hwnd(), WM_SIZE, 0, 0);
  RECT r;
  if (!GetWindowRect(hwnd(), &r)) return 0;
  return r.bottom - r.top;
}
