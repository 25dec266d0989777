// The application tests' second program.
//
//   managerapp_probe.exe -window TITLE   shows nothing, but owns a top-level window titled TITLE
//                                        until it is closed (at most 60 seconds)
//   any other command line               stands in for the version program: appends its command
//                                        line and a line feed to the file named by
//                                        RAVELINK_PROBE_OUT, waits RAVELINK_PROBE_SLEEP ms, ends
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

LRESULT CALLBACK windowproc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, msg, wparam, lparam);
}

int ownwindow(const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = windowproc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RavelinkProbeWindow";
  if (!RegisterClassA(&wc)) return 2;
  HWND window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!window) return 3;
  SetTimer(window, 1, 60000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) DestroyWindow(window);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "-window") == 0) return ownwindow(argv[2]);

  char out[MAX_PATH] = "";
  if (GetEnvironmentVariableA("RAVELINK_PROBE_OUT", out, sizeof out)) {
    HANDLE file = CreateFileA(out, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const char* line = GetCommandLineA();
      DWORD written = 0;
      WriteFile(file, line, (DWORD)strlen(line), &written, nullptr);
      WriteFile(file, "\n", 1, &written, nullptr);
      CloseHandle(file);
    }
  }
  char pause[32] = "";
  if (GetEnvironmentVariableA("RAVELINK_PROBE_SLEEP", pause, sizeof pause)) Sleep((DWORD)atoi(pause));
  return 0;
}
