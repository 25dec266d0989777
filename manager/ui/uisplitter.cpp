#include "manager/ui/uisplitter.h"

#include <algorithm>

namespace {
const char splitterclass[] = "RavelinkSplitter";
}

uisplitter_c::~uisplitter_c() { destroy(); }

bool uisplitter_c::create(HWND parent, unsigned id, DWORD style) {
  if (!registerclass(splitterclass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                     reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))))
    return false;
  return createwindow(WS_EX_NOPARENTNOTIFY, splitterclass, "", style | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool uisplitter_c::setpane(int column, HWND pane, int idealwidth) {
  if (column < 0 || column >= columns || !exists()) return false;
  if (pane && GetParent(pane) != hwnd()) return false;
  panes[column] = pane;
  if (column == 0 && idealwidth >= 0) ideal = idealwidth;
  recalclayout();
  return true;
}

void uisplitter_c::setcolumnwidth(int width) {
  ideal = std::max(0, width);
  recalclayout();
}

int uisplitter_c::columnwidth(int column) const {
  return column >= 0 && column < columns ? actual[column] : 0;
}

void uisplitter_c::recalclayout() {
  if (!exists()) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  int total = client.right - client.left, height = client.bottom - client.top;
  int room = std::max(0, total - barwidth);
  actual[0] = std::min(ideal, room);
  actual[1] = room - actual[0];
  if (panes[0] && IsWindow(panes[0]))
    SetWindowPos(panes[0], nullptr, 0, 0, actual[0], height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (panes[1] && IsWindow(panes[1]))
    SetWindowPos(panes[1], nullptr, actual[0] + barwidth, 0, actual[1], height, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT bar = barrect();
  InvalidateRect(hwnd(), &bar, TRUE);
}

RECT uisplitter_c::barrect() const {
  RECT r = {0, 0, 0, 0};
  if (!exists()) return r;
  GetClientRect(hwnd(), &r);
  r.left = actual[0];
  r.right = actual[0] + barwidth;
  return r;
}

LRESULT uisplitter_c::handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    // WM_SIZE(type, cx, cy)
    case WM_SIZE:
      recalclayout();
      return 0;
    // WM_SETCURSOR(window, hit test, mouse message): the sizing cursor over the bar.
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd(), &p);
      RECT bar = barrect();
      if (reinterpret_cast<HWND>(wparam) == hwnd() && LOWORD(lparam) == HTCLIENT && PtInRect(&bar, p)) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      break;
    }
    // WM_LBUTTONDOWN(keys, x, y): take hold of the bar.
    case WM_LBUTTONDOWN: {
      POINT p = {(short)LOWORD(lparam), (short)HIWORD(lparam)};
      RECT bar = barrect();
      if (PtInRect(&bar, p)) {
        dragging = true;
        grab = p.x - actual[0];
        SetCapture(hwnd());
      }
      return 0;
    }
    // WM_MOUSEMOVE(keys, x, y): the panes follow the bar while it is held.
    case WM_MOUSEMOVE:
      if (dragging) setcolumnwidth((short)LOWORD(lparam) - grab);
      return 0;
    case WM_LBUTTONUP:
      if (dragging) {
        setcolumnwidth((short)LOWORD(lparam) - grab);
        dragging = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging = false;
      return 0;
    // WM_SETFOCUS: the focus belongs in a pane, the right one unless only the left exists.
    case WM_SETFOCUS:
      if (panes[1] && IsWindow(panes[1])) {
        SetFocus(panes[1]);
      } else if (panes[0] && IsWindow(panes[0])) {
        SetFocus(panes[0]);
      }
      return 0;
    // What the panes' objects did not take goes to the splitter's parent.
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU:
      if (HWND parent = GetParent(hwnd())) return SendMessageA(parent, msg, wparam, lparam);
      return 0;
  }
  return defaulthandling(msg, wparam, lparam);
}
