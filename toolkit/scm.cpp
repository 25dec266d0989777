#include "toolkit/scm.h"

#include "toolkit/regkey.h"
#include "toolkit/string.h"

namespace {

constexpr DWORD longestpause = 10000;   // ms; a wait hint is never slept longer than this

// Every operation ends here: the code becomes the thread's last error, 1 exactly when it is 0.
int finish(DWORD code) {
  SetLastError(code);
  return code == 0 ? 1 : 0;
}

void pause(DWORD waithint) {
  Sleep(waithint < longestpause ? waithint : longestpause);
  Sleep(0);
}

// A tick-count deadline; none for a timeout of -1.
struct deadline_c {
  bool endless;
  DWORD at;
  explicit deadline_c(int32_t timeout) : endless(timeout == -1), at(GetTickCount() + (DWORD)timeout) {}
  // Still time to wait (the tick count below the deadline, unsigned).
  bool running() const { return endless || GetTickCount() < at; }
  // The deadline lies before the present tick count.
  bool passed() const { return !endless && at < GetTickCount(); }
};

// The service's own account of why it stopped, or "not active" when it gives none.
DWORD stoppedcode(const SERVICE_STATUS& status) {
  if (status.dwWin32ExitCode != 0) return status.dwWin32ExitCode;
  return ERROR_SERVICE_NOT_ACTIVE;
}

constexpr int namesize = 257;   // a service name has at most 256 characters

}  // namespace

scm_c::scm_c() : manager(nullptr) {}

scm_c::~scm_c() { close(); }

int scm_c::connect(DWORD access, const char* machine, const char* database) {
  close();
  manager = OpenSCManagerA(machine, database, access);
  return manager ? 1 : 0;
}

void scm_c::close() {
  if (manager) {
    CloseServiceHandle(manager);
    manager = nullptr;
  }
}

// --- start and stop ---------------------------------------------------------------------------

DWORD scm_c::startcode(const char* name, int wait, int32_t timeout) {
  if (!name) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;
  schandle_c service(OpenServiceA(manager, name, SERVICE_START | SERVICE_QUERY_STATUS));
  if (!service) return GetLastError();
  if (!StartServiceA(service.handle, 0, nullptr)) return GetLastError();
  if (!wait) return 0;

  DWORD code = ERROR_TIMEOUT;
  deadline_c deadline(timeout);
  while (deadline.running()) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service.handle, &status)) return GetLastError();
    if (status.dwCurrentState == SERVICE_START_PENDING) {
      pause(status.dwWaitHint);
    } else if (status.dwCurrentState == SERVICE_RUNNING) {
      return 0;
    } else if (deadline.endless) {
      // Without a deadline a service that fell back to stopped would be waited for forever:
      // it will not start by itself, so its exit code ends the wait. Other states are polled.
      if (status.dwCurrentState == SERVICE_STOPPED) return stoppedcode(status);
      pause(50);
    }
  }
  return code;
}

DWORD scm_c::stopcode(const char* name, int wait, int32_t timeout) {
  if (!name) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;
  schandle_c service(OpenServiceA(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS));
  if (!service) return GetLastError();
  SERVICE_STATUS status = {};
  if (!ControlService(service.handle, SERVICE_CONTROL_STOP, &status)) return GetLastError();
  if (!wait) return 0;

  pause(status.dwWaitHint);
  DWORD code = ERROR_TIMEOUT;
  deadline_c deadline(timeout);
  while (deadline.running()) {
    if (!QueryServiceStatus(service.handle, &status)) return GetLastError();
    if (status.dwCurrentState == SERVICE_STOP_PENDING) {
      pause(status.dwWaitHint);
    } else if (status.dwCurrentState == SERVICE_STOPPED) {
      return 0;
    } else if (deadline.endless) {
      pause(50);   // no deadline: poll without spinning
    }
  }
  return code;
}

int scm_c::startservice(const char* name, int wait, int32_t timeout) {
  return finish(startcode(name, wait, timeout));
}

int scm_c::stopservice(const char* name, int wait, int32_t timeout) {
  return finish(stopcode(name, wait, timeout));
}

// --- status -----------------------------------------------------------------------------------

DWORD scm_c::statuscode(const char* name, DWORD* state) {
  if (!name || !state) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;
  schandle_c service(OpenServiceA(manager, name, GENERIC_READ));
  if (!service) return GetLastError();
  SERVICE_STATUS status = {};
  if (!QueryServiceStatus(service.handle, &status)) return GetLastError();
  *state = status.dwCurrentState;
  return 0;
}

int scm_c::getstatus(const char* name, DWORD* state) { return finish(statuscode(name, state)); }

int scm_c::waitforstatus(const char* name, DWORD wanted, int32_t timeout) {
  deadline_c deadline(timeout);
  DWORD state = 0;
  if (!getstatus(name, &state)) return 0;
  while (state != wanted) {
    if (deadline.passed()) return finish(ERROR_TIMEOUT);
    pause(1000);
    if (!getstatus(name, &state)) return 0;
  }
  return finish(0);
}

int scm_c::isnow(const char* name, DWORD state) { return waitforstatus(name, state, 0); }

// --- names and description --------------------------------------------------------------------

int scm_c::getservicedisplayname(const char* name, char* buffer, int size) {
  if (!name || !buffer || size <= 0) return finish(ERROR_INVALID_PARAMETER);
  if (!manager) return finish(ERROR_INVALID_HANDLE);
  DWORD length = (DWORD)size;
  if (!GetServiceDisplayNameA(manager, name, buffer, &length)) return finish(GetLastError());
  return finish(0);
}

int scm_c::setservicedisplayname(const char* name, const char* displayname) {
  if (!name || !displayname) return finish(ERROR_INVALID_PARAMETER);
  if (!manager) return finish(ERROR_INVALID_HANDLE);
  DWORD code = 0;
  {
    schandle_c service(OpenServiceA(manager, name, SERVICE_CHANGE_CONFIG));
    if (!service) {
      code = GetLastError();
    } else if (!ChangeServiceConfigA(service.handle, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, displayname)) {
      code = GetLastError();
    }
  }
  return finish(code);
}

int scm_c::setservicedescription(const char* name, const char* text) {
  if (!name || !text) return finish(ERROR_INVALID_PARAMETER);
  string_c path("SYSTEM\\CurrentControlSet\\Services\\");
  path.append(name);
  if (!path.buffer) return finish(ERROR_NOT_ENOUGH_MEMORY);
  // The registry class keeps the system's codes to itself; these two name the failing step.
  DWORD code = 0;
  {
    regkey_c reg(3);
    if (!reg.connect(path.buffer, 1, nullptr)) {
      code = ERROR_CANTOPEN;
    } else if (!reg.setstring("Description", text, 0)) {
      code = ERROR_CANTWRITE;
    }
  }
  return finish(code);
}

// --- dependents -------------------------------------------------------------------------------

DWORD scm_c::enumcode(servicelist_c** out, const char* name, DWORD filter) {
  if (!out || !name) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;
  ENUM_SERVICE_STATUSA* entries = nullptr;
  try {
    schandle_c service(OpenServiceA(manager, name, GENERIC_READ));
    if (!service) return GetLastError();
    DWORD needed = 0, returned = 0;
    if (EnumDependentServicesA(service.handle, filter, nullptr, 0, &needed, &returned)) {
      servicelist_c* list = servicelist_c::create(nullptr, 0);
      if (!list) return ERROR_NOT_ENOUGH_MEMORY;
      *out = list;
      return 0;
    }
    DWORD code = GetLastError();
    if (code != ERROR_MORE_DATA) return code;
    entries = servicelist_c::allocentries(needed);
    if (!entries) return ERROR_NOT_ENOUGH_MEMORY;
    if (!EnumDependentServicesA(service.handle, filter, entries, needed, &needed, &returned)) {
      code = GetLastError();
      servicelist_c::freeentries(entries);
      return code;
    }
    servicelist_c* list = servicelist_c::create(entries, (int32_t)returned);
    if (!list) {
      servicelist_c::freeentries(entries);
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    entries = nullptr;   // the list owns them now
    *out = list;
    return 0;
  } catch (...) {
    servicelist_c::freeentries(entries);
    return faultcode;
  }
}

int scm_c::enumdependents(servicelist_c** list, const char* name, DWORD filter) {
  return finish(enumcode(list, name, filter));
}

DWORD scm_c::startdependentscode(const char* name, servicelist_c* given, int wait, int32_t timeout) {
  if (!name) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;
  if (given && !given->usable()) return ERROR_INVALID_HANDLE;

  if (isnow(name, SERVICE_STOPPED) && !startservice(name, wait, timeout)) return GetLastError();

  servicelistholder_c made;
  servicelist_c* list = given;
  if (!list) {
    // Without a list of its own the inactive dependents are started; when they cannot be
    // listed, starting the service was all there was to do.
    if (!enumdependents(&made.list, name, SERVICE_INACTIVE)) return 0;
    list = made.list;
  }
  // The system lists dependents in the reverse of their start order.
  list->rewind(1);
  char dependent[namesize];
  while (list->prev(dependent, sizeof dependent)) {
    if (isnow(dependent, SERVICE_STOPPED) && !startservice(dependent, wait, timeout)) return GetLastError();
  }
  return 0;
}

int scm_c::startwithdependents(const char* name, servicelist_c* list, int wait, int32_t timeout) {
  return finish(startdependentscode(name, list, wait, timeout));
}

DWORD scm_c::stopdependentscode(const char* name, servicelist_c** out, int wait, int32_t timeout) {
  if (out) *out = nullptr;
  if (!name) return ERROR_INVALID_PARAMETER;
  if (!manager) return ERROR_INVALID_HANDLE;

  servicelistholder_c running;
  if (enumdependents(&running.list, name, SERVICE_ACTIVE)) {
    running.list->rewind(0);
    char dependent[namesize];
    while (running.list->next(dependent, sizeof dependent)) {
      if (isnow(dependent, SERVICE_RUNNING) && !stopservice(dependent, wait, timeout)) return GetLastError();
    }
  }
  if (isnow(name, SERVICE_RUNNING) && !stopservice(name, wait, timeout)) return GetLastError();
  if (out) *out = running.detach();
  return 0;
}

int scm_c::stopwithdependents(const char* name, servicelist_c** list, int wait, int32_t timeout) {
  return finish(stopdependentscode(name, list, wait, timeout));
}

int scm_c::restartwithdependents(const char* name, int wait, int32_t timeout) {
  servicelist_c* stopped = nullptr;
  if (!stopwithdependents(name, &stopped, wait, timeout)) return 0;
  DWORD code;
  {
    // The dependents that ran before; null when they could not be listed.
    servicelistholder_c holder(stopped);
    code = startdependentscode(name, stopped, wait, timeout);
  }
  return finish(code);
}
