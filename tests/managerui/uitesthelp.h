#pragma once
// Helpers shared by the window layer's tests: answering message boxes (through the program's
// hook, or real ones caught with a CBT hook), a throw-away profile location in the real
// registry, and pumping this thread's messages.
#include <windows.h>

#include <string>
#include <vector>

#include "manager/ui/managermessagebox.h"
#include "tests/support/msgboxcatcher.h"

namespace uitest {

// Dispatches everything queued for this thread.
inline void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

using ::boxseen;

// Answers managermessagebox calls while it lives, recording each; the hook set before comes
// back afterwards.
class boxanswer_c {
public:
  explicit boxanswer_c(int reply = IDOK) : answer(reply) {
    before = setmessageboxanswer([this](HWND owner, const char* text, const char* caption, UINT type) {
      boxes.push_back({owner, text ? text : "(null)", caption ? caption : "(null)", type});
      return answer;
    });
  }
  ~boxanswer_c() { setmessageboxanswer(before); }
  boxanswer_c(const boxanswer_c&) = delete;
  boxanswer_c& operator=(const boxanswer_c&) = delete;

  int answer;
  std::vector<boxseen> boxes;

private:
  messageboxanswer_t before;
};

// Real message boxes caught on screen: the shared catcher.
using ::msgboxcatcher_c;

// A registry key name of this test process's own under HKEY_CURRENT_USER\Software, removed
// before and after.
class testkey_c {
public:
  testkey_c() {
    char text[64];
    wsprintfA(text, "Ravelink UI Test %lu", GetCurrentProcessId());
    name = text;
    remove();
  }
  ~testkey_c() { remove(); }
  testkey_c(const testkey_c&) = delete;
  testkey_c& operator=(const testkey_c&) = delete;

  std::string name;
  std::string software() const { return "Software\\" + name; }

  // Raw access for checking what the layer wrote and for planting damaged values.
  bool exists(const std::string& subkey) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  bool setraw(const std::string& subkey, const char* value, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      return false;
    bool ok = RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
  }
  bool getdword(const std::string& subkey, const char* value, DWORD& out) const {
    DWORD size = sizeof out;
    return RegGetValueA(HKEY_CURRENT_USER, subkey.c_str(), value, RRF_RT_REG_DWORD, nullptr, &out, &size) ==
           ERROR_SUCCESS;
  }

private:
  void remove() { RegDeleteTreeA(HKEY_CURRENT_USER, software().c_str()); RegDeleteKeyA(HKEY_CURRENT_USER, software().c_str()); }
};

// Whether the window itself has the visible style (its parent may be hidden).
inline bool styledvisible(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// A window's rectangle in the client coordinates of another (usually its parent).
inline RECT rectin(HWND window, HWND reference) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace uitest
