// A real Windows service for the service-control tests. The tests register it (CreateService)
// with a command line that says how it behaves:
//
//   testservice.exe [startms [stopms [ok|fail [logfile]]]]
//
// It reports start pending (wait hint startms + 500, checkpoints every 100 ms) for startms
// milliseconds, then running; on the stop control it reports stop pending (wait hint
// stopms + 500) for stopms milliseconds, then stopped. With "fail" it gives up while starting:
// it reports stopped with the service-specific exit code 42 instead of running. With a log file
// it appends its service name as a line each time it reports running, so a test can tell which
// services were started and in what order.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

DWORD startms = 0;
DWORD stopms = 0;
bool failstart = false;
const char* logfile = nullptr;

SERVICE_STATUS_HANDLE statushandle = nullptr;
HANDLE stopevent = nullptr;
SERVICE_STATUS status;
CRITICAL_SECTION statuslock;

void report(DWORD state, DWORD waithint, DWORD exitcode = NO_ERROR, DWORD specific = 0) {
  EnterCriticalSection(&statuslock);
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWin32ExitCode = exitcode;
  status.dwServiceSpecificExitCode = specific;
  status.dwWaitHint = waithint;
  if (state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING) {
    status.dwCheckPoint++;
  } else {
    status.dwCheckPoint = 0;
  }
  SetServiceStatus(statushandle, &status);
  LeaveCriticalSection(&statuslock);
}

// Stays in a pending state for ms milliseconds, moving the checkpoint on as Windows expects.
void pending(DWORD state, DWORD ms) {
  DWORD begin = GetTickCount();
  report(state, ms + 500);
  while (GetTickCount() - begin < ms) {
    DWORD left = ms - (GetTickCount() - begin);
    Sleep(left < 100 ? left : 100);
    report(state, ms + 500);
  }
}

DWORD WINAPI handler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      // Stop pending is reported before the handler returns, so the stop control's answer
      // already carries the stop wait hint.
      report(SERVICE_STOP_PENDING, stopms + 500);
      SetEvent(stopevent);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void logline(const char* name) {
  if (!logfile) return;
  HANDLE file = CreateFileA(logfile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, name, (DWORD)strlen(name), &written, nullptr);
  WriteFile(file, "\r\n", 2, &written, nullptr);
  CloseHandle(file);
}

void WINAPI servicemain(DWORD, char** argv) {
  const char* name = argv && argv[0] ? argv[0] : "";
  statushandle = RegisterServiceCtrlHandlerExA(name, handler, nullptr);
  if (!statushandle) return;
  pending(SERVICE_START_PENDING, startms);
  if (failstart) {
    report(SERVICE_STOPPED, 0, ERROR_SERVICE_SPECIFIC_ERROR, 42);
    return;
  }
  // Logged before running is reported: whoever sees running also sees the line.
  logline(name);
  report(SERVICE_RUNNING, 0);
  WaitForSingleObject(stopevent, INFINITE);
  pending(SERVICE_STOP_PENDING, stopms);
  report(SERVICE_STOPPED, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) startms = (DWORD)strtoul(argv[1], nullptr, 10);
  if (argc > 2) stopms = (DWORD)strtoul(argv[2], nullptr, 10);
  if (argc > 3) failstart = strcmp(argv[3], "fail") == 0;
  if (argc > 4) logfile = argv[4];
  InitializeCriticalSection(&statuslock);
  stopevent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // An own-process service: the name in the table is not looked at.
  char name[] = "testservice";
  SERVICE_TABLE_ENTRYA table[] = {{name, servicemain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : (int)GetLastError();
}
