#include "manager/ui/uitoolbar.h"

#include <cstdlib>
#include <vector>

#include "manager/ui/uiframe.h"
#include "manager/ui/uiresource.h"

namespace {

const char holderclass[] = "RavelinkToolBar";
const int gripper = 8;   // depth of the gripper strip at the bar's start
const int pad = 2;       // space around the buttons across the bar

}  // namespace

uitoolbar_c::uitoolbar_c() { buttons.outer = this; }

uitoolbar_c::~uitoolbar_c() {
  forgetframe();
  buttons.unsubclass();
  destroy();
}

bool uitoolbar_c::create(uiframe_c& frame, unsigned id, DWORD buttonstyle) {
  if (exists() || !frame.exists()) return false;
  if (!registerclass(holderclass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                     reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))))
    return false;
  if (!createwindow(WS_EX_NOPARENTNOTIFY, holderclass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    0, 0, 0, 0, frame.hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
    return false;
  RECT none = {0, 0, 0, 0};
  DWORD style = WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | buttonstyle;
  if (!buttons.create(TOOLBARCLASSNAMEA, style, 0, none, hwnd(), id)) {
    destroy();
    return false;
  }
  SendMessageA(control(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Commands, tooltips and hot-item notifications go to the frame, not to this holder.
  SendMessageA(control(), TB_SETPARENT, reinterpret_cast<WPARAM>(frame.hwnd()), 0);
  buttons.subclass();
  setbarid(id);
  return true;
}

bool uitoolbar_c::load(unsigned resid) {
  HWND tb = control();
  if (!tb) return false;
  while (SendMessageA(tb, TB_BUTTONCOUNT, 0, 0) > 0)
    if (!SendMessageA(tb, TB_DELETEBUTTON, 0, 0)) break;

  HINSTANCE module = uiresourcemodule();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resid), MAKEINTRESOURCEA(uirt_toolbar));
  if (!found) return false;
  DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  auto* data = static_cast<const WORD*>(loaded ? LockResource(loaded) : nullptr);
  if (!data || size < 8) return false;
  unsigned version = data[0], width = data[1], height = data[2], count = data[3];
  if (version != 1 || width == 0 || height == 0 || width > 256 || height > 256 || size < 8 + 2 * count) return false;
  if (!FindResourceA(module, MAKEINTRESOURCEA(resid), MAKEINTRESOURCEA(2))) return false;

  SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
  SendMessageA(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(width + 7, height + 7));
  int images = 0;
  for (unsigned i = 0; i < count; ++i)
    if (data[4 + i]) ++images;
  int first = 0;
  if (images > 0) {
    TBADDBITMAP bitmap = {module, resid};
    LRESULT index = SendMessageA(tb, TB_ADDBITMAP, (WPARAM)images, reinterpret_cast<LPARAM>(&bitmap));
    if (index < 0) return false;
    first = (int)index;
  }
  std::vector<TBBUTTON> list(count);
  int image = first;
  for (unsigned i = 0; i < count; ++i) {
    TBBUTTON& b = list[i];
    b = TBBUTTON();
    b.idCommand = data[4 + i];
    if (b.idCommand == 0) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = image++;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
      b.iString = -1;
    }
  }
  if (count && !SendMessageA(tb, TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(list.data()))) return false;
  verticallayout = false;
  if (uivertical(side())) setwrapped(true);
  if (uiframe_c* owner = frame()) owner->recalclayout();
  return true;
}

int uitoolbar_c::buttoncount() const { return (int)SendMessageA(control(), TB_BUTTONCOUNT, 0, 0); }

RECT uitoolbar_c::gripperrect() const {
  RECT r = {0, 0, 0, 0};
  if (!exists()) return r;
  GetClientRect(hwnd(), &r);
  if (verticallayout) {
    r.bottom = r.top + gripper;
  } else {
    r.right = r.left + gripper;
  }
  return r;
}

int uitoolbar_c::thickness(bool vertical) const {
  DWORD size = (DWORD)SendMessageA(control(), TB_GETBUTTONSIZE, 0, 0);
  return (vertical ? LOWORD(size) : HIWORD(size)) + 2 * pad;
}

void uitoolbar_c::setwrapped(bool vertical) {
  HWND tb = control();
  int count = buttoncount();
  for (int i = 0; i < count; ++i) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    if (SendMessageA(tb, TB_GETBUTTONINFOA, (WPARAM)i, reinterpret_cast<LPARAM>(&info)) < 0) continue;
    BYTE state = vertical ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP);
    if (state == info.fsState) continue;
    info.fsState = state;
    SendMessageA(tb, TB_SETBUTTONINFOA, (WPARAM)i, reinterpret_cast<LPARAM>(&info));
  }
  verticallayout = vertical;
  // The vertical style makes separators run across the bar instead of along it.
  LONG style = GetWindowLongA(tb, GWL_STYLE);
  LONG wanted = vertical ? (style | CCS_VERT) : (style & ~CCS_VERT);
  if (wanted != style) SetWindowLongA(tb, GWL_STYLE, wanted);
  SendMessageA(tb, TB_AUTOSIZE, 0, 0);
}

void uitoolbar_c::place(const RECT& r, uidock side) {
  bool vertical = uivertical(side);
  if (vertical != verticallayout) setwrapped(vertical);
  int cx = r.right - r.left, cy = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, r.left, r.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (vertical) {
    SetWindowPos(control(), nullptr, pad, gripper, cx > 2 * pad ? cx - 2 * pad : 0, cy > gripper ? cy - gripper : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(control(), nullptr, gripper, pad, cx > gripper ? cx - gripper : 0, cy > 2 * pad ? cy - 2 * pad : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void uitoolbar_c::updatecommands(uiframe_c& owner) {
  HWND tb = control();
  int count = buttoncount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!SendMessageA(tb, TB_GETBUTTON, (WPARAM)i, reinterpret_cast<LPARAM>(&button))) continue;
    if (button.fsStyle & BTNS_SEP) continue;
    cmdui_c ui = owner.querycommand((unsigned)button.idCommand);
    BYTE state = button.fsState & ~(TBSTATE_ENABLED | TBSTATE_CHECKED);
    if (ui.enabled) state |= TBSTATE_ENABLED;
    if (ui.checked) state |= TBSTATE_CHECKED;
    // Only real changes: setting a state repaints the button.
    if (state != button.fsState) SendMessageA(tb, TB_SETSTATE, (WPARAM)button.idCommand, MAKELPARAM(state, 0));
  }
}

bool uitoolbar_c::ownscontrol(HWND control) const { return control && control == buttons.hwnd(); }

void uitoolbar_c::pointat(unsigned id) {
  if (id == hotid) return;
  hotid = id;
  if (uiframe_c* owner = frame()) owner->showprompt(id);
}

bool uitoolbar_c::buttons_c::OnMessage(UINT msg, WPARAM, LPARAM lparam, LRESULT&) {
  if (!outer) return false;
  if (msg == WM_MOUSEMOVE) {
    POINT at = {(short)LOWORD(lparam), (short)HIWORD(lparam)};
    LRESULT index = SendMessageA(hwnd(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&at));
    unsigned id = 0;
    TBBUTTON button = {};
    if (index >= 0 && SendMessageA(hwnd(), TB_GETBUTTON, (WPARAM)index, reinterpret_cast<LPARAM>(&button)) &&
        !(button.fsStyle & BTNS_SEP))
      id = (unsigned)button.idCommand;
    outer->pointat(id);
    if (!outer->tracking) {
      TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd(), 0};
      outer->tracking = TrackMouseEvent(&track) != FALSE;
    }
  } else if (msg == WM_MOUSELEAVE) {
    outer->tracking = false;
    outer->pointat(0);
  }
  return false;   // the control does its own hot tracking too
}

void uitoolbar_c::paintgripper(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  for (int line = 0; line < 2; ++line) {
    RECT r;
    if (verticallayout) {
      r = {client.left + 2, 2 + line * 3, client.right - 2, 2 + line * 3 + 3};
    } else {
      r = {2 + line * 3, client.top + 2, 2 + line * 3 + 3, client.bottom - 2};
    }
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
}

void uitoolbar_c::enddrag(POINT at) {
  dragging = false;
  uiframe_c* owner = frame();
  if (!owner) return;
  // A click without a real move leaves the bar where it is.
  if (abs(at.x - dragstart.x) < GetSystemMetrics(SM_CXDRAG) && abs(at.y - dragstart.y) < GetSystemMetrics(SM_CYDRAG))
    return;
  POINT p = at;
  MapWindowPoints(hwnd(), owner->hwnd(), &p, 1);
  RECT client;
  GetClientRect(owner->hwnd(), &client);
  const long distance[4] = {p.y - client.top, client.bottom - p.y, p.x - client.left, client.right - p.x};
  int best = -1;
  for (int s = 0; s < 4; ++s)
    if (candock(static_cast<uidock>(s)) && (best < 0 || distance[s] < distance[best])) best = s;
  if (best >= 0 && static_cast<uidock>(best) != side()) owner->dockbar(*this, static_cast<uidock>(best));
}

LRESULT uitoolbar_c::handlemessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      if (dc) paintgripper(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd(), &p);
      RECT g = gripperrect();
      if (LOWORD(lparam) == HTCLIENT && PtInRect(&g, p)) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      POINT p = {(short)LOWORD(lparam), (short)HIWORD(lparam)};
      RECT g = gripperrect();
      if (PtInRect(&g, p)) {
        dragging = true;
        dragstart = p;
        SetCapture(hwnd());
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (dragging) {
        POINT p = {(short)LOWORD(lparam), (short)HIWORD(lparam)};
        // Capture is let go first: docking moves windows around.
        dragging = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
        enddrag(p);
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging = false;
      return 0;
    case WM_NOTIFY:
    case WM_COMMAND:
      // Anything the buttons send here belongs to the frame.
      if (uiframe_c* owner = frame()) return SendMessageA(owner->hwnd(), msg, wparam, lparam);
      return 0;
  }
  return defaulthandling(msg, wparam, lparam);
}
