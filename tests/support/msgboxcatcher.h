#pragma once
// Catches real message boxes of this thread as the system activates them (a thread-local CBT
// hook): notes owner, caption, text and icon, and presses the given button.
#include <windows.h>

#include <string>
#include <vector>

struct boxseen {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;              // the type asked for, where known (0 for a box caught on screen)
  bool stopicon = false;  // a box caught on screen shows the stop (error) icon
};

class msgboxcatcher_c {
public:
  explicit msgboxcatcher_c(int reply) : answer(reply) {
    previous = current();
    current() = this;
    hook = SetWindowsHookExA(WH_CBT, cbt, nullptr, GetCurrentThreadId());
  }
  ~msgboxcatcher_c() {
    if (hook) UnhookWindowsHookEx(hook);
    current() = previous;
  }
  msgboxcatcher_c(const msgboxcatcher_c&) = delete;
  msgboxcatcher_c& operator=(const msgboxcatcher_c&) = delete;

  bool installed() const { return hook != nullptr; }
  int answer;
  std::vector<boxseen> boxes;

private:
  static msgboxcatcher_c*& current() {
    static thread_local msgboxcatcher_c* catcher = nullptr;
    return catcher;
  }

  static std::string windowtext(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
  }

  struct scan {
    std::string text;
    bool hasicon = false;
    HICON icon = nullptr;
  };

  // The message is the one static control that is not the icon.
  static BOOL CALLBACK findtext(HWND child, LPARAM param) {
    scan* s = reinterpret_cast<scan*>(param);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    if (GetWindowLongA(child, GWL_STYLE) & SS_ICON) {
      s->hasicon = true;
      s->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else if (s->text.empty()) {
      s->text = windowtext(child);
    }
    return TRUE;
  }

  static LRESULT CALLBACK cbt(int code, WPARAM wparam, LPARAM lparam) {
    msgboxcatcher_c* self = current();
    if (code == HCBT_ACTIVATE && self) {
      HWND box = reinterpret_cast<HWND>(wparam);
      char cls[32] = "";
      GetClassNameA(box, cls, sizeof cls);
      if (lstrcmpA(cls, "#32770") == 0) {
        scan s;
        EnumChildWindows(box, findtext, reinterpret_cast<LPARAM>(&s));
        bool stop = s.hasicon && s.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32513));  // IDI_HAND
        self->boxes.push_back({GetWindow(box, GW_OWNER), s.text, windowtext(box), 0, stop});
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, self->answer)));
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  HHOOK hook = nullptr;
  msgboxcatcher_c* previous = nullptr;
};
