#include "manager/ui/uicontrol.h"

#include <unordered_map>

#include "manager/ui/uiresource.h"

namespace {

// The subclassed controls of this thread. An entry whose object is gone but whose procedure
// could not be put back (someone subclassed the control after us) only passes messages on.
struct subclassentry {
  uicontrol_c* object;
  WNDPROC oldproc;
};

std::unordered_map<HWND, subclassentry>& subclasses() {
  static thread_local std::unordered_map<HWND, subclassentry> map;
  return map;
}

}  // namespace

uicontrol_c::~uicontrol_c() { unsubclass(); }

void uicontrol_c::attach(HWND control) {
  unsubclass();
  window = control;
}

HWND uicontrol_c::detach() {
  unsubclass();
  HWND was = window;
  window = nullptr;
  return was;
}

bool uicontrol_c::create(const char* classname, DWORD style, DWORD exstyle, const RECT& rect, HWND parent,
                         unsigned id, const char* text) {
  if (exists() || !classname) return false;
  uiinitcontrols();
  unsubclass();
  window = CreateWindowExA(exstyle, classname, text ? text : "", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  return window != nullptr;
}

void uicontrol_c::destroy() {
  if (exists()) DestroyWindow(window);
  unsubclass();
  window = nullptr;
}

bool uicontrol_c::subclass() {
  if (oldproc) return true;
  if (!exists()) return false;
  // Only controls of this thread: their messages must arrive where this object lives.
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  auto& map = subclasses();
  auto found = map.find(window);
  if (found != map.end()) {
    if (found->second.object) return false;   // another object has it
    // A pass-on entry left from an earlier object: take it over, the chain stays as it is.
    found->second.object = this;
    oldproc = found->second.oldproc;
    return true;
  }
  WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&uicontrol_c::subclassproc)));
  if (!previous) return false;
  map[window] = subclassentry{this, previous};
  oldproc = previous;
  return true;
}

void uicontrol_c::unsubclass() {
  if (!oldproc) return;
  auto& map = subclasses();
  auto found = map.find(window);
  if (found != map.end() && found->second.object == this) {
    bool ours = IsWindow(window) && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) ==
                                        &uicontrol_c::subclassproc;
    if (ours) {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.oldproc));
      map.erase(found);
    } else if (IsWindow(window)) {
      found->second.object = nullptr;   // keep passing messages down the chain
    } else {
      map.erase(found);
    }
  }
  oldproc = nullptr;
}

string_c uicontrol_c::text() const {
  string_c result;
  if (!window) return result;
  int n = GetWindowTextLengthA(window);
  if (n < 0) n = 0;
  char* buffer = result.getbuffer(n + 1);
  if (buffer) GetWindowTextA(window, buffer, n + 1);
  return result;
}

uicontrol_c* uicontrol_c::fromhandle(HWND control) {
  if (!control) return nullptr;
  auto& map = subclasses();
  auto found = map.find(control);
  return found == map.end() ? nullptr : found->second.object;
}

bool uicontrol_c::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool uicontrol_c::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT uicontrol_c::defaultproc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (oldproc) return CallWindowProcA(oldproc, window, msg, wparam, lparam);
  return DefWindowProcA(window, msg, wparam, lparam);
}

LRESULT CALLBACK uicontrol_c::subclassproc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto& map = subclasses();
  auto found = map.find(hwnd);
  if (found == map.end()) return DefWindowProcA(hwnd, msg, wparam, lparam);
  WNDPROC previous = found->second.oldproc;
  uicontrol_c* object = found->second.object;

  if (msg == WM_NCDESTROY) {
    // The control is going: put the chain back and forget it before its last message.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == &uicontrol_c::subclassproc)
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    map.erase(found);
    if (object) {
      object->oldproc = nullptr;
      object->window = nullptr;
    }
    return CallWindowProcA(previous, hwnd, msg, wparam, lparam);
  }

  if (object) {
    LRESULT result = 0;
    try {
      if (object->OnMessage(msg, wparam, lparam, result)) return result;
    } catch (...) {
      return 0;
    }
    if (!IsWindow(hwnd)) return 0;   // the handler ended the control
  }
  return CallWindowProcA(previous, hwnd, msg, wparam, lparam);
}

bool uireflect(HWND parent, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  HWND from = nullptr;
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header) from = header->hwndFrom;
      break;
    }
    case WM_COMMAND:
      from = reinterpret_cast<HWND>(lparam);   // null for menus and accelerators
      break;
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (draw && draw->CtlType != ODT_MENU) from = draw->hwndItem;
      break;
    }
    default:
      return false;
  }
  uicontrol_c* object = uicontrol_c::fromhandle(from);
  if (!object || GetParent(from) != parent) return false;
  try {
    return object->OnReflect(msg, wparam, lparam, result);
  } catch (...) {
    result = 0;
    return true;
  }
}
