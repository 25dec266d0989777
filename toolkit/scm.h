#pragma once
// One connection to a service control manager: start, stop, query and rename services, alone or
// with the services that depend on them.
//
// Every service operation answers 1 or 0 and leaves its error code as the thread's last error:
// 0 on success, ERROR_INVALID_PARAMETER for a missing argument, ERROR_INVALID_HANDLE without a
// connected manager, ERROR_TIMEOUT when a wait runs out, ERROR_NOT_ENOUGH_MEMORY when a list of
// dependents cannot be allocated, otherwise the code of the system call that failed.
// Timeouts are in milliseconds, -1 for no limit.
#include <windows.h>

#include <cstdint>

#include "toolkit/servicelist.h"

// Scoped owner of one service or manager handle.
class schandle_c {
public:
  SC_HANDLE handle;
  explicit schandle_c(SC_HANDLE h = nullptr) : handle(h) {}
  ~schandle_c() { reset(); }
  schandle_c(const schandle_c&) = delete;
  schandle_c& operator=(const schandle_c&) = delete;
  void reset(SC_HANDLE h = nullptr) {
    if (handle) CloseServiceHandle(handle);
    handle = h;
  }
  SC_HANDLE detach() {
    SC_HANDLE h = handle;
    handle = nullptr;
    return h;
  }
  explicit operator bool() const { return handle != nullptr; }
};

class scm_c {
public:
  SC_HANDLE manager;   // set by connect; null while not connected

  // The code for an unexpected fault while dependents are listed.
  static constexpr DWORD faultcode = 0x80040205;

  scm_c();
  // Owners call close(); this only closes a handle that was left open.
  ~scm_c();
  scm_c(const scm_c&) = delete;
  scm_c& operator=(const scm_c&) = delete;

  // 1 when the manager is open. A handle held from an earlier connect is closed first.
  int connect(DWORD access, const char* machine, const char* database);
  void close();

  // With wait, 1 only when the service is running (started) or stopped (stopped) within the
  // timeout; without, 1 as soon as the system accepted the start or the stop control.
  int startservice(const char* name, int wait, int32_t timeout);
  int stopservice(const char* name, int wait, int32_t timeout);
  // The current state (SERVICE_STOPPED 1 ... SERVICE_PAUSED 7).
  int getstatus(const char* name, DWORD* state);
  // Polls once a second; a timeout of 0 asks whether the service is in that state now.
  int waitforstatus(const char* name, DWORD wanted, int32_t timeout);

  int getservicedisplayname(const char* name, char* buffer, int size);
  int setservicedisplayname(const char* name, const char* displayname);
  // Writes "Description" under HKLM\SYSTEM\CurrentControlSet\Services\<name>; needs no manager.
  int setservicedescription(const char* name, const char* text);

  // The dependents in the state filter (SERVICE_ACTIVE 1, SERVICE_INACTIVE 2), in the order the
  // system gives them (the reverse of their start order). The caller releases the list.
  int enumdependents(servicelist_c** list, const char* name, DWORD filter);
  // Starts the service when it is stopped, then the stopped dependents of the list (or of the
  // service's inactive dependents when none is given), in start order.
  int startwithdependents(const char* name, servicelist_c* list, int wait, int32_t timeout);
  // Stops the running dependents, then the service. With a list pointer, the dependents that
  // were running are handed out through it on success.
  int stopwithdependents(const char* name, servicelist_c** list, int wait, int32_t timeout);
  // Stops the service with its running dependents and starts exactly those again.
  int restartwithdependents(const char* name, int wait, int32_t timeout);

private:
  DWORD startcode(const char* name, int wait, int32_t timeout);
  DWORD stopcode(const char* name, int wait, int32_t timeout);
  DWORD statuscode(const char* name, DWORD* state);
  DWORD enumcode(servicelist_c** list, const char* name, DWORD filter);
  DWORD startdependentscode(const char* name, servicelist_c* list, int wait, int32_t timeout);
  DWORD stopdependentscode(const char* name, servicelist_c** list, int wait, int32_t timeout);
  // "Is the service in this state now?" (waitforstatus with timeout 0).
  int isnow(const char* name, DWORD state);
};
