#include "manager/ui/uiapp.h"

#include <cstring>

#include "manager/ui/managermessagebox.h"
#include "manager/ui/uiframe.h"
#include "manager/ui/uiids.h"
#include "manager/ui/uiresource.h"

int uiapp_c::run(HINSTANCE instance, const char* commandline, int showcommand) {
  module = instance ? instance : GetModuleHandleA(nullptr);
  cmdline.assign(commandline ? commandline : "");
  show = showcommand;
  uiinitcontrols();
  if (!apptitle.length()) {
    string_c loaded = uistring(uiids_apptitle);
    if (char* cut = loaded.buffer ? strchr(loaded.buffer, '\n') : nullptr) *cut = 0;
    settitle(loaded.text());
  }
  int code = 0;
  bool started = false;
  try {
    started = OnStartUp();
  } catch (...) {
    started = false;
  }
  if (started) code = messageloop();
  try {
    return OnExit(code);
  } catch (...) {
    return code;
  }
}

void uiapp_c::settitle(const char* title) {
  apptitle.assign(title ? title : "");
  setmessageboxcaption(apptitle.text());
  if (registrykey.length()) store.setlocation(registrykey.text(), apptitle.text());
}

void uiapp_c::setregistrykey(const char* keyname) {
  registrykey.assign(keyname ? keyname : "");
  store.setlocation(registrykey.text(), apptitle.text());
}

void uiapp_c::setmainframe(uiframe_c* frame) {
  if (mainwindow && mainwindow != frame) mainwindow->setquitondestroy(false);
  mainwindow = frame;
  if (frame) frame->setquitondestroy(true);
}

bool uiapp_c::OnStartUp() { return false; }

int uiapp_c::OnExit(int code) { return code; }

bool uiapp_c::OnIdle(long count) {
  if (count == 0 && mainwindow && mainwindow->exists()) mainwindow->idleupdate();
  return false;
}

bool uiapp_c::PreTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (!mainwindow || !mainwindow->exists() || !mainwindow->accelerators()) return false;
  HWND frame = mainwindow->hwnd();
  // Keys typed in the frame or any of its children; never in another top-level window (a
  // dialog's own keys stay its own).
  if (msg.hwnd != frame && !IsChild(frame, msg.hwnd)) return false;
  return TranslateAcceleratorA(frame, mainwindow->accelerators(), &msg) != 0;
}

void uiapp_c::dispatch(MSG& msg) {
  bool consumed = false;
  try {
    consumed = PreTranslate(msg);
  } catch (...) {
    consumed = false;
  }
  if (consumed) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void uiapp_c::idle() {
  for (long count = 0; count < 16; ++count) {
    bool more = false;
    try {
      more = OnIdle(count);
    } catch (...) {
      more = false;
    }
    if (!more) break;
    MSG peek;
    if (PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) break;   // messages first
  }
}

bool uiapp_c::pumpmessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitcode = (int)msg.wParam;
      return false;
    }
    dispatch(msg);
  }
  idle();
  return true;
}

int uiapp_c::messageloop() {
  for (;;) {
    if (!pumpmessages()) return quitcode;
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return quitcode = -1;
    if (got == 0) return quitcode = (int)msg.wParam;
    dispatch(msg);
  }
}
