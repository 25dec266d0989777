#include "manager/ui/uidialog.h"

#include <cstdio>
#include <limits>

#include "manager/ui/managermessagebox.h"
#include "manager/ui/uicontrol.h"
#include "manager/ui/uiids.h"
#include "manager/ui/uiresource.h"

// ---- data exchange ----

void uidatax_c::fail(int id) {
  failedcontrol = id ? id : -1;
  HWND control = GetDlgItem(window, id);
  if (control) {
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
  }
}

void uidatax_c::text(int id, string_c& value, int maxchars) {
  if (failed()) return;
  HWND control = GetDlgItem(window, id);
  if (!control) return;
  if (!saving) {
    if (maxchars > 0) SendMessageA(control, EM_LIMITTEXT, (WPARAM)maxchars, 0);
    SetWindowTextA(control, value.text());
    return;
  }
  int length = GetWindowTextLengthA(control);
  if (length < 0) length = 0;
  string_c read;
  char* buffer = read.getbuffer(length + 1);
  if (!buffer) {
    fail(id);
    return;
  }
  GetWindowTextA(control, buffer, length + 1);
  if (maxchars > 0 && maxchars < length) {
    // Cut at a character boundary: never half of a double-byte character.
    int cut = 0;
    while (cut < maxchars) {
      int step = IsDBCSLeadByte((BYTE)buffer[cut]) && buffer[cut + 1] ? 2 : 1;
      if (cut + step > maxchars) break;
      cut += step;
    }
    buffer[cut] = 0;
  }
  value = read;
}

bool uidatax_c::parsenumber(const char* text, int& value) {
  if (!text) return false;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  long long n = 0;
  const long long cap = (long long)std::numeric_limits<int>::max() + 1;
  while (*p >= '0' && *p <= '9') {
    if (n < cap) n = n * 10 + (*p - '0');
    ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p) return false;
  if (n > cap) n = cap;
  if (negative) {
    value = (int)-n;   // -cap is INT_MIN
  } else {
    value = n >= cap ? std::numeric_limits<int>::max() : (int)n;
  }
  return true;
}

void uidatax_c::number(int id, int& value, int low, int high) {
  if (failed()) return;
  if (low > high) {
    int t = low;
    low = high;
    high = t;
  }
  HWND control = GetDlgItem(window, id);
  if (!control) return;
  if (!saving) {
    int shown = value < low ? low : value > high ? high : value;
    char text[16];
    snprintf(text, sizeof text, "%d", shown);
    SetWindowTextA(control, text);
    return;
  }
  char text[64] = "";
  int length = GetWindowTextLengthA(control);
  int read = 0;
  // A text too long for any int is no whole number we could take.
  if (length < (int)sizeof text) GetWindowTextA(control, text, sizeof text);
  if (length >= (int)sizeof text || !parsenumber(text, read)) {
    string_c message = uistring(uiids_parseint, "Please enter an integer.");
    managermessagebox(window, message.text(), MB_OK | MB_ICONEXCLAMATION);
    fail(id);
    return;
  }
  value = read < low ? low : read > high ? high : read;
}

void uidatax_c::check(int id, bool& value) {
  if (failed()) return;
  HWND control = GetDlgItem(window, id);
  if (!control) return;
  if (saving) {
    value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  } else {
    SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void uidatax_c::check(int id, int& value) {
  bool on = value != 0;
  check(id, on);
  if (saving && !failed()) value = on ? 1 : 0;
}

// ---- dialog ----

INT_PTR uidialog_c::domodal(HWND owner) {
  uiinitcontrols();
  if (owner && !IsWindow(owner)) owner = nullptr;
  ended = false;
  return DialogBoxParamA(uiresourcemodule(), MAKEINTRESOURCEA(resid), owner, dialogproc,
                         reinterpret_cast<LPARAM>(this));
}

void uidialog_c::enddialog(INT_PTR result) {
  if (window && EndDialog(window, result)) ended = true;
}

bool uidialog_c::updatedata(bool save) {
  if (!window) return false;
  uidatax_c dx(window, save);
  DoDataExchange(dx);
  return !dx.failed();
}

bool uidialog_c::OnInit() {
  updatedata(false);
  return true;
}

void uidialog_c::OnOK() {
  if (updatedata(true)) enddialog(IDOK);
}

void uidialog_c::OnCancel() { enddialog(IDCANCEL); }

bool uidialog_c::OnCommand(unsigned, unsigned, HWND) { return false; }

bool uidialog_c::OnNotify(NMHDR&, LRESULT&) { return false; }

bool uidialog_c::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void uidialog_c::DoDataExchange(uidatax_c&) {}

INT_PTR uidialog_c::dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND: {
      unsigned id = LOWORD(wparam), code = HIWORD(wparam);
      HWND control = reinterpret_cast<HWND>(lparam);
      if (code == BN_CLICKED || !control) {
        if (id == IDOK) {
          OnOK();
          return TRUE;
        }
        if (id == IDCANCEL) {
          OnCancel();
          return TRUE;
        }
      }
      return OnCommand(id, code, control) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      LRESULT result = 0;
      if (!header || !OnNotify(*header, result)) return FALSE;
      SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
  INT_PTR result = FALSE;
  return OnMessage(msg, wparam, lparam, result) ? result : FALSE;
}

namespace {

// Centers a window over its owner (the screen's work area without one), kept inside the work
// area of the owner's monitor.
void centeronowner(HWND window) {
  RECT own = {0, 0, 0, 0};
  GetWindowRect(window, &own);
  HWND owner = GetWindow(window, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  HMONITOR where = MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST);
  if (!where || !GetMonitorInfoA(where, &monitor)) return;
  RECT area = monitor.rcWork;
  RECT around = area;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  const LONG width = own.right - own.left, height = own.bottom - own.top;
  LONG left = around.left + ((around.right - around.left) - width) / 2;
  LONG top = around.top + ((around.bottom - around.top) - height) / 2;
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

INT_PTR CALLBACK uidialog_c::dialogproc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<uidialog_c*>(lparam);
    if (!self) {
      EndDialog(dialog, IDCANCEL);
      return FALSE;
    }
    SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    self->window = dialog;
    try {
      RECT before = {0, 0, 0, 0};
      GetWindowRect(dialog, &before);
      BOOL focus = self->OnInit() ? TRUE : FALSE;
      // A dialog that did not place itself opens over the middle of its owner, as users expect,
      // rather than where the template's origin puts it.
      RECT after = {0, 0, 0, 0};
      if (!self->ended && IsWindow(dialog) && GetWindowRect(dialog, &after) &&
          before.left == after.left && before.top == after.top)
        centeronowner(dialog);
      return focus;
    } catch (...) {
      self->enddialog(IDCANCEL);
      return FALSE;
    }
  }
  auto* self = reinterpret_cast<uidialog_c*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  INT_PTR answer = FALSE;
  try {
    LRESULT reflected = 0;
    if (uireflect(dialog, msg, wparam, lparam, reflected)) {
      // A dialog procedure hands message results back through DWLP_MSGRESULT.
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reflected);
      answer = TRUE;
    } else {
      answer = self->dispatch(msg, wparam, lparam);
    }
  } catch (...) {
    answer = FALSE;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    self->window = nullptr;
  }
  return answer;
}
