#include "toolkit/scm.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/testsupport.h"

namespace {

const DWORD sentinel = 0xdeadbeef;
const int32_t patience = 15000;   // ms: generous for a service that starts in a fraction of that

// A list as the installer hands one in: entries built from names, in the system's order.
servicelist_c* makelist(const std::vector<std::string>& names) {
  DWORD bytes = (DWORD)(names.size() * sizeof(ENUM_SERVICE_STATUSA));
  for (const auto& n : names) bytes += (DWORD)n.size() + 1;
  ENUM_SERVICE_STATUSA* entries = servicelist_c::allocentries(bytes);
  if (!entries) return nullptr;
  char* text = reinterpret_cast<char*>(entries + names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    memset(&entries[i], 0, sizeof entries[i]);
    strcpy(text, names[i].c_str());
    entries[i].lpServiceName = text;
    entries[i].lpDisplayName = text;
    entries[i].ServiceStatus.dwCurrentState = SERVICE_STOPPED;
    text += names[i].size() + 1;
  }
  servicelist_c* list = servicelist_c::create(entries, (int32_t)names.size());
  if (!list) servicelist_c::freeentries(entries);
  return list;
}

std::vector<std::string> listnames(servicelist_c* list) {
  std::vector<std::string> names;
  char name[257];
  list->rewind(0);
  while (list->next(name, sizeof name)) names.push_back(name);
  list->rewind(0);
  return names;
}

// Registers the test service (testservice.exe) in the prefix's service control manager as a
// service with two dependents A and B, under names of its own for every test, and removes all
// three afterwards, also when the test failed half way. Every start is logged by the service
// into a file of the test's scratch folder.
class Scm : public ::testing::Test {
protected:
  schandle_c manager;
  scratchdir_c scratch;
  std::string exe;
  std::string logfile;
  std::string base, depa, depb;
  std::vector<std::string> registered;

  void SetUp() override {
    manager.reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(manager) << "OpenSCManager: " << GetLastError();
    exe = siblingpath("testservice.exe");
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << exe;
    logfile = scratch.file("starts.log");

    static unsigned counter = 0;
    char name[64];
    snprintf(name, sizeof name, "RavelinkTest%lu_%lx_%u", GetCurrentProcessId(), GetTickCount(), counter++);
    base = name;
    depa = base + "A";
    depb = base + "B";
    ASSERT_NO_FATAL_FAILURE(create(base, nullptr));
    ASSERT_NO_FATAL_FAILURE(create(depa, base.c_str()));
    ASSERT_NO_FATAL_FAILURE(create(depb, base.c_str()));
  }

  void TearDown() override {
    // Dependents first, as Windows wants it.
    for (auto it = registered.rbegin(); it != registered.rend(); ++it) {
      schandle_c service(OpenServiceA(manager.handle, it->c_str(), SERVICE_ALL_ACCESS));
      if (!service) continue;
      SERVICE_STATUS status;
      ControlService(service.handle, SERVICE_CONTROL_STOP, &status);
      EXPECT_TRUE(rawwait(service.handle, SERVICE_STOPPED, 20000)) << *it << " did not stop";
      EXPECT_TRUE(DeleteService(service.handle)) << *it << ": " << GetLastError();
    }
    // The manager lets go of a deleted service once its process has ended.
    for (const auto& name : registered) {
      DWORD begin = GetTickCount();
      for (;;) {
        schandle_c still(OpenServiceA(manager.handle, name.c_str(), SERVICE_QUERY_STATUS));
        if (!still) break;
        still.reset();
        if (GetTickCount() - begin > 10000) {
          ADD_FAILURE() << name << " is still registered";
          break;
        }
        Sleep(50);
      }
    }
  }

  std::string commandline(DWORD startms, DWORD stopms, const char* mode) const {
    char args[64];
    snprintf(args, sizeof args, " %lu %lu %s ", startms, stopms, mode);
    return "\"" + exe + "\"" + args + "\"" + logfile + "\"";
  }

  void create(const std::string& name, const char* dependson) {
    char deps[300] = {};   // a double-terminated list of one
    if (dependson) strcpy(deps, dependson);
    std::string display = "Ravelink test " + name;
    std::string cmd = commandline(300, 300, "ok");
    schandle_c service(CreateServiceA(manager.handle, name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                      SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                      cmd.c_str(), nullptr, nullptr, dependson ? deps : nullptr, nullptr, nullptr));
    ASSERT_TRUE(service) << "CreateService " << name << ": " << GetLastError();
    registered.push_back(name);
  }

  // Changes how long the service takes to start and stop, or makes it give up while starting.
  void behave(const std::string& name, DWORD startms, DWORD stopms, const char* mode = "ok") {
    schandle_c service(OpenServiceA(manager.handle, name.c_str(), SERVICE_CHANGE_CONFIG));
    ASSERT_TRUE(service);
    std::string cmd = commandline(startms, stopms, mode);
    ASSERT_TRUE(ChangeServiceConfigA(service.handle, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                     cmd.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  }

  static bool rawwait(SC_HANDLE service, DWORD wanted, DWORD ms) {
    DWORD begin = GetTickCount();
    SERVICE_STATUS status;
    while (QueryServiceStatus(service, &status)) {
      if (status.dwCurrentState == wanted) return true;
      if (GetTickCount() - begin > ms) return false;
      Sleep(20);
    }
    return false;
  }

  // Setting the scene without the class under test.
  void rawstart(const std::string& name) {
    schandle_c service(OpenServiceA(manager.handle, name.c_str(), SERVICE_START | SERVICE_QUERY_STATUS));
    ASSERT_TRUE(service);
    ASSERT_TRUE(StartServiceA(service.handle, 0, nullptr)) << name << ": " << GetLastError();
    ASSERT_TRUE(rawwait(service.handle, SERVICE_RUNNING, 20000)) << name;
  }

  DWORD state(const std::string& name) {
    schandle_c service(OpenServiceA(manager.handle, name.c_str(), SERVICE_QUERY_STATUS));
    SERVICE_STATUS status = {};
    if (!service || !QueryServiceStatus(service.handle, &status)) return 0;
    return status.dwCurrentState;
  }

  DWORD processid(const std::string& name) {
    schandle_c service(OpenServiceA(manager.handle, name.c_str(), SERVICE_QUERY_STATUS));
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!service || !QueryServiceStatusEx(service.handle, SC_STATUS_PROCESS_INFO, (BYTE*)&status, sizeof status,
                                          &needed))
      return 0;
    return status.dwProcessId;
  }

  // The services in the order they reported running.
  std::vector<std::string> starts() const {
    std::vector<std::string> lines;
    std::string text = readwhole(logfile);
    size_t at = 0;
    while (at < text.size()) {
      size_t end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  // Wine's EnumDependentServices answers success and no services for every query, also for a
  // service with registered dependents; where that is so, the steps that need the system's list
  // of dependents cannot be run.
  bool systemlistsdependents() {
    schandle_c service(OpenServiceA(manager.handle, base.c_str(), SERVICE_ENUMERATE_DEPENDENTS));
    DWORD needed = 0, returned = 0;
    if (!service) return false;
    return !EnumDependentServicesA(service.handle, SERVICE_STATE_ALL, nullptr, 0, &needed, &returned);
  }
  std::string nolisting() const {
    return "EnumDependentServices of this Wine is a stub: it answers success with no services for " + base +
           ", which has the dependents " + depa + " and " + depb +
           " (Wine's sechost EnumDependentServicesW only sets the count to 0), so the dependents that "
           "run cannot be listed";
  }
};

TEST_F(Scm, ConnectAndClose) {
  scm_c scm;
  EXPECT_EQ(scm.manager, nullptr);
  EXPECT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  EXPECT_NE(scm.manager, nullptr);
  scm.close();
  EXPECT_EQ(scm.manager, nullptr);
  scm.close();   // twice is harmless
  EXPECT_EQ(scm.connect(GENERIC_READ, nullptr, nullptr), 1);
  DWORD now = 0;
  EXPECT_EQ(scm.getstatus(base.c_str(), &now), 1);
  EXPECT_EQ(now, (DWORD)SERVICE_STOPPED);
  // A second connect replaces the first connection.
  EXPECT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  EXPECT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, "NoSuchDatabase"), 0);
  EXPECT_EQ(scm.manager, nullptr);
}

TEST_F(Scm, MissingArgumentsGive87) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  const char* name = base.c_str();
  DWORD now = 0;
  char buffer[64];
  servicelist_c* list = nullptr;
  const struct {
    const char* what;
    std::function<int()> call;
  } cases[] = {
      {"startservice", [&] { return scm.startservice(nullptr, 1, 1000); }},
      {"stopservice", [&] { return scm.stopservice(nullptr, 1, 1000); }},
      {"getstatus state", [&] { return scm.getstatus(name, nullptr); }},
      {"getstatus name", [&] { return scm.getstatus(nullptr, &now); }},
      {"waitforstatus", [&] { return scm.waitforstatus(nullptr, SERVICE_STOPPED, 0); }},
      {"enumdependents list", [&] { return scm.enumdependents(nullptr, name, SERVICE_ACTIVE); }},
      {"enumdependents name", [&] { return scm.enumdependents(&list, nullptr, SERVICE_ACTIVE); }},
      {"getservicedisplayname name", [&] { return scm.getservicedisplayname(nullptr, buffer, 64); }},
      {"getservicedisplayname buffer", [&] { return scm.getservicedisplayname(name, nullptr, 64); }},
      {"getservicedisplayname size", [&] { return scm.getservicedisplayname(name, buffer, 0); }},
      {"setservicedisplayname name", [&] { return scm.setservicedisplayname(nullptr, "x"); }},
      {"setservicedisplayname text", [&] { return scm.setservicedisplayname(name, nullptr); }},
      {"setservicedescription name", [&] { return scm.setservicedescription(nullptr, "x"); }},
      {"setservicedescription text", [&] { return scm.setservicedescription(name, nullptr); }},
      {"startwithdependents", [&] { return scm.startwithdependents(nullptr, nullptr, 1, 1000); }},
      {"stopwithdependents", [&] { return scm.stopwithdependents(nullptr, &list, 1, 1000); }},
      {"restartwithdependents", [&] { return scm.restartwithdependents(nullptr, 1, 1000); }},
  };
  for (const auto& c : cases) {
    SetLastError(sentinel);
    EXPECT_EQ(c.call(), 0) << c.what;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << c.what;
  }
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
}

TEST_F(Scm, MissingManagerGives6) {
  scm_c scm;   // never connected
  const char* name = base.c_str();
  DWORD now = 0;
  char buffer[64];
  servicelist_c* list = nullptr;
  const struct {
    const char* what;
    std::function<int()> call;
  } cases[] = {
      {"startservice", [&] { return scm.startservice(name, 1, 1000); }},
      {"stopservice", [&] { return scm.stopservice(name, 1, 1000); }},
      {"getstatus", [&] { return scm.getstatus(name, &now); }},
      {"waitforstatus", [&] { return scm.waitforstatus(name, SERVICE_STOPPED, 0); }},
      {"enumdependents", [&] { return scm.enumdependents(&list, name, SERVICE_ACTIVE); }},
      {"getservicedisplayname", [&] { return scm.getservicedisplayname(name, buffer, 64); }},
      {"setservicedisplayname", [&] { return scm.setservicedisplayname(name, "x"); }},
      {"startwithdependents", [&] { return scm.startwithdependents(name, nullptr, 1, 1000); }},
      {"stopwithdependents", [&] { return scm.stopwithdependents(name, &list, 1, 1000); }},
      {"restartwithdependents", [&] { return scm.restartwithdependents(name, 1, 1000); }},
  };
  for (const auto& c : cases) {
    SetLastError(sentinel);
    EXPECT_EQ(c.call(), 0) << c.what;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE) << c.what;
  }
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
}

TEST_F(Scm, UnknownServiceGivesTheSystemsCode) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  const char* name = "RavelinkNoSuchService";
  DWORD now = 0;
  char buffer[64];
  servicelist_c* list = nullptr;
  const struct {
    const char* what;
    std::function<int()> call;
  } cases[] = {
      {"startservice", [&] { return scm.startservice(name, 1, 1000); }},
      {"stopservice", [&] { return scm.stopservice(name, 1, 1000); }},
      {"getstatus", [&] { return scm.getstatus(name, &now); }},
      {"waitforstatus", [&] { return scm.waitforstatus(name, SERVICE_STOPPED, 0); }},
      {"enumdependents", [&] { return scm.enumdependents(&list, name, SERVICE_ACTIVE); }},
      {"getservicedisplayname", [&] { return scm.getservicedisplayname(name, buffer, 64); }},
      {"setservicedisplayname", [&] { return scm.setservicedisplayname(name, "x"); }},
  };
  for (const auto& c : cases) {
    SetLastError(sentinel);
    EXPECT_EQ(c.call(), 0) << c.what;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SERVICE_DOES_NOT_EXIST) << c.what;
  }
  EXPECT_EQ(list, nullptr);
}

TEST_F(Scm, StartAndStopWaiting) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startservice(base.c_str(), 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(starts(), std::vector<std::string>{base});

  DWORD now = 0;
  SetLastError(sentinel);
  EXPECT_EQ(scm.getstatus(base.c_str(), &now), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(now, (DWORD)SERVICE_RUNNING);

  SetLastError(sentinel);
  EXPECT_EQ(scm.stopservice(base.c_str(), 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);

  // No deadline at all.
  EXPECT_EQ(scm.startservice(base.c_str(), 1, -1), 1);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(scm.stopservice(base.c_str(), 1, -1), 1);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
  scm.close();
}

TEST_F(Scm, StartWithoutWaitingReturnsWhileStillPending) {
  ASSERT_NO_FATAL_FAILURE(behave(base, 2000, 300));
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startservice(base.c_str(), 0, 0), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_START_PENDING);
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_RUNNING, patience), 1);
  scm.close();
}

TEST_F(Scm, StopWithoutWaitingReturnsOnceTheControlIsAccepted) {
  ASSERT_NO_FATAL_FAILURE(behave(base, 0, 2000));
  ASSERT_NO_FATAL_FAILURE(rawstart(base));
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  DWORD begin = GetTickCount();
  EXPECT_EQ(scm.stopservice(base.c_str(), 0, patience), 1);
  EXPECT_LT(GetTickCount() - begin, 1500u);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOP_PENDING);
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_STOPPED, patience), 1);
  scm.close();
}

TEST_F(Scm, WaitingWithTimeoutZeroGives1460) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startservice(base.c_str(), 1, 0), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  // The start itself was asked for and goes on.
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_RUNNING, patience), 1);

  SetLastError(sentinel);
  EXPECT_EQ(scm.stopservice(base.c_str(), 1, 0), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_STOPPED, patience), 1);
  scm.close();
}

TEST_F(Scm, AlreadyRunningAndNotActiveAreTheSystemsCodes) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.stopservice(base.c_str(), 1, patience), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SERVICE_NOT_ACTIVE);
  ASSERT_EQ(scm.startservice(base.c_str(), 1, patience), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startservice(base.c_str(), 1, patience), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SERVICE_ALREADY_RUNNING);
  scm.close();
}

TEST_F(Scm, ServiceThatGivesUpWhileStarting) {
  ASSERT_NO_FATAL_FAILURE(behave(base, 300, 0, "fail"));
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  // With a deadline the stopped state is asked again until the deadline passes.
  SetLastError(sentinel);
  DWORD begin = GetTickCount();
  EXPECT_EQ(scm.startservice(base.c_str(), 1, 1500), 0);
  EXPECT_GE(GetTickCount() - begin, 1400u);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
  // Without one the wait ends with the service's own exit code rather than never.
  SetLastError(sentinel);
  EXPECT_EQ(scm.startservice(base.c_str(), 1, -1), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SERVICE_SPECIFIC_ERROR);
  EXPECT_TRUE(starts().empty());
  scm.close();
}

TEST_F(Scm, WaitForStatus) {
  scm_c scm;
  ASSERT_EQ(scm.connect(GENERIC_READ, nullptr, nullptr), 1);

  SetLastError(sentinel);
  DWORD begin = GetTickCount();
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_STOPPED, 0), 1) << "in the state: at once";
  EXPECT_LT(GetTickCount() - begin, 500u);
  EXPECT_EQ(GetLastError(), 0u);

  SetLastError(sentinel);
  begin = GetTickCount();
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_RUNNING, 0), 0) << "not in the state";
  DWORD took = GetTickCount() - begin;
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_TIMEOUT);
  // At most one pause of a second: none when the tick count moved on while the state was read.
  EXPECT_LT(took, 2500u);

  ASSERT_NO_FATAL_FAILURE(behave(base, 1500, 300));
  scm_c control;
  ASSERT_EQ(control.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  ASSERT_EQ(control.startservice(base.c_str(), 0, 0), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.waitforstatus(base.c_str(), SERVICE_RUNNING, -1), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  control.close();
  scm.close();
}

TEST_F(Scm, DisplayNameGetAndSet) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  char buffer[128];
  memset(buffer, '#', sizeof buffer);
  SetLastError(sentinel);
  ASSERT_EQ(scm.getservicedisplayname(base.c_str(), buffer, sizeof buffer), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(std::string(buffer), "Ravelink test " + base);

  char small[4];
  SetLastError(sentinel);
  EXPECT_EQ(scm.getservicedisplayname(base.c_str(), small, sizeof small), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);

  SetLastError(sentinel);
  ASSERT_EQ(scm.setservicedisplayname(base.c_str(), "Ravelink Fax Relay"), 1);
  EXPECT_EQ(GetLastError(), 0u);
  ASSERT_EQ(scm.getservicedisplayname(base.c_str(), buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "Ravelink Fax Relay");

  // Nothing else of the configuration changed.
  schandle_c service(OpenServiceA(manager.handle, base.c_str(), SERVICE_QUERY_CONFIG));
  ASSERT_TRUE(service);
  std::vector<unsigned char> config(8192);
  DWORD needed = 0;
  ASSERT_TRUE(QueryServiceConfigA(service.handle, (QUERY_SERVICE_CONFIGA*)config.data(), (DWORD)config.size(),
                                  &needed));
  const auto* c = (const QUERY_SERVICE_CONFIGA*)config.data();
  EXPECT_EQ(c->dwServiceType, (DWORD)SERVICE_WIN32_OWN_PROCESS);
  EXPECT_EQ(c->dwStartType, (DWORD)SERVICE_DEMAND_START);
  EXPECT_EQ(c->dwErrorControl, (DWORD)SERVICE_ERROR_IGNORE);
  EXPECT_EQ(std::string(c->lpBinaryPathName), commandline(300, 300, "ok"));
  EXPECT_STREQ(c->lpDisplayName, "Ravelink Fax Relay");
  scm.close();
}

TEST_F(Scm, SetServiceDescriptionWritesTheRegistryWithoutAManager) {
  scm_c scm;   // not connected: the description goes to the registry only
  SetLastError(sentinel);
  ASSERT_EQ(scm.setservicedescription(base.c_str(), "Hands faxes to the server"), 1);
  EXPECT_EQ(GetLastError(), 0u);

  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\" + base;
  char text[128] = {};
  DWORD size = sizeof text - 1, type = 0;
  ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "Description", RRF_RT_ANY | RRF_NOEXPAND, &type, text,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, (DWORD)REG_SZ);
  EXPECT_STREQ(text, "Hands faxes to the server");

  // A service key that is not there yet is created.
  const std::string missing = base + "Unregistered";
  const std::string missingkey = "SYSTEM\\CurrentControlSet\\Services\\" + missing;
  EXPECT_EQ(scm.setservicedescription(missing.c_str(), "x"), 1);
  size = sizeof text - 1;
  EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, missingkey.c_str(), "Description", RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, missingkey.c_str()), ERROR_SUCCESS);
}

TEST_F(Scm, EnumDependentsOfAServiceWithoutDependents) {
  scm_c scm;
  ASSERT_EQ(scm.connect(GENERIC_READ, nullptr, nullptr), 1);
  for (DWORD filter : {SERVICE_ACTIVE, SERVICE_INACTIVE}) {
    servicelist_c* list = nullptr;
    SetLastError(sentinel);
    ASSERT_EQ(scm.enumdependents(&list, depb.c_str(), filter), 1);
    EXPECT_EQ(GetLastError(), 0u);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->cursor, 0);
    EXPECT_EQ(list->closed, 0);
    EXPECT_EQ(list->entries, nullptr);
    char name[8];
    EXPECT_EQ(list->next(name, sizeof name), 0);
    list->release();
  }
  scm.close();
}

TEST_F(Scm, EnumDependentsByState) {
  ASSERT_NO_FATAL_FAILURE(rawstart(base));
  ASSERT_NO_FATAL_FAILURE(rawstart(depa));
  if (!systemlistsdependents()) GTEST_SKIP() << nolisting();
  scm_c scm;
  ASSERT_EQ(scm.connect(GENERIC_READ, nullptr, nullptr), 1);
  servicelist_c* active = nullptr;
  ASSERT_EQ(scm.enumdependents(&active, base.c_str(), SERVICE_ACTIVE), 1);
  EXPECT_EQ(listnames(active), std::vector<std::string>{depa});
  active->release();
  servicelist_c* inactive = nullptr;
  ASSERT_EQ(scm.enumdependents(&inactive, base.c_str(), SERVICE_INACTIVE), 1);
  EXPECT_EQ(listnames(inactive), std::vector<std::string>{depb});
  inactive->release();
  scm.close();
}

// The installer's way: the list it got from stopping is handed back to start the same services.
TEST_F(Scm, StartWithDependentsStartsAGivenListInStartOrder) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  servicelist_c* list = makelist({depa});
  ASSERT_NE(list, nullptr);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startwithdependents(base.c_str(), list, 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(state(depa), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(state(depb), (DWORD)SERVICE_STOPPED);
  EXPECT_EQ(starts(), (std::vector<std::string>{base, depa}));
  list->release();   // a given list stays its owner's

  // The system lists dependents in the reverse of their start order: B, A here start A first.
  schandle_c a(OpenServiceA(manager.handle, depa.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS));
  SERVICE_STATUS status;
  ASSERT_TRUE(ControlService(a.handle, SERVICE_CONTROL_STOP, &status));
  ASSERT_TRUE(rawwait(a.handle, SERVICE_STOPPED, 20000));
  list = makelist({depb, depa});
  EXPECT_EQ(scm.startwithdependents(base.c_str(), list, 1, patience), 1);
  EXPECT_EQ(starts(), (std::vector<std::string>{base, depa, depa, depb}));
  list->release();
  scm.close();
}

TEST_F(Scm, StartWithDependentsStopsAtTheFirstFailure) {
  ASSERT_NO_FATAL_FAILURE(behave(depa, 100, 0, "fail"));
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  servicelist_c* list = makelist({depb, depa});   // A comes first and fails
  SetLastError(sentinel);
  EXPECT_EQ(scm.startwithdependents(base.c_str(), list, 1, -1), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SERVICE_SPECIFIC_ERROR);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING) << "what was started stays started";
  EXPECT_EQ(state(depb), (DWORD)SERVICE_STOPPED) << "the walk ended at A";
  list->release();
  scm.close();
}

TEST_F(Scm, StartWithDependentsRefusesAClosedList) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  servicelist_c* list = makelist({depa});
  list->closed = 1;
  SetLastError(sentinel);
  EXPECT_EQ(scm.startwithdependents(base.c_str(), list, 1, patience), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
  list->release();
  scm.close();
}

TEST_F(Scm, StartWithDependentsWithoutAList) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.startwithdependents(base.c_str(), nullptr, 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  if (!systemlistsdependents()) GTEST_SKIP() << nolisting() << " (the inactive ones to start here)";
  EXPECT_EQ(state(depa), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(state(depb), (DWORD)SERVICE_RUNNING);
  scm.close();
}

TEST_F(Scm, StopWithDependentsOfAStoppedServiceHasNothingToDo) {
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  servicelist_c* list = reinterpret_cast<servicelist_c*>(1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.stopwithdependents(base.c_str(), &list, 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count, 0);
  list->release();
  EXPECT_EQ(scm.stopwithdependents(base.c_str(), nullptr, 1, patience), 1);
  scm.close();
}

TEST_F(Scm, StopWithDependentsStopsTheRunningOnesFirst) {
  ASSERT_NO_FATAL_FAILURE(rawstart(base));
  ASSERT_NO_FATAL_FAILURE(rawstart(depa));
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  servicelist_c* list = nullptr;
  SetLastError(sentinel);
  EXPECT_EQ(scm.stopwithdependents(base.c_str(), &list, 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_STOPPED);
  ASSERT_NE(list, nullptr);
  servicelistholder_c holder(list);
  if (!systemlistsdependents()) GTEST_SKIP() << nolisting();
  EXPECT_EQ(state(depa), (DWORD)SERVICE_STOPPED);
  EXPECT_EQ(state(depb), (DWORD)SERVICE_STOPPED);
  EXPECT_EQ(listnames(list), std::vector<std::string>{depa}) << "the dependents that ran before";
  scm.close();
}

TEST_F(Scm, RestartWithoutDependentsRestartsTheService) {
  ASSERT_NO_FATAL_FAILURE(rawstart(base));
  ASSERT_NO_FATAL_FAILURE(rawstart(depb));
  const DWORD before = processid(depb);
  ASSERT_NE(before, 0u);
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.restartwithdependents(depb.c_str(), 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(depb), (DWORD)SERVICE_RUNNING);
  EXPECT_NE(processid(depb), before) << "a new process";
  EXPECT_EQ(starts(), (std::vector<std::string>{base, depb, depb}));
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING) << "what B depends on is left alone";
  scm.close();
}

TEST_F(Scm, RestartWithDependentsRestartsExactlyTheRunningDependents) {
  ASSERT_NO_FATAL_FAILURE(rawstart(base));
  ASSERT_NO_FATAL_FAILURE(rawstart(depa));
  const DWORD basepid = processid(base), apid = processid(depa);
  scm_c scm;
  ASSERT_EQ(scm.connect(SC_MANAGER_ALL_ACCESS, nullptr, nullptr), 1);
  SetLastError(sentinel);
  EXPECT_EQ(scm.restartwithdependents(base.c_str(), 1, patience), 1);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(state(base), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(state(depa), (DWORD)SERVICE_RUNNING);
  EXPECT_EQ(state(depb), (DWORD)SERVICE_STOPPED);
  EXPECT_NE(processid(base), basepid) << "the service itself was restarted";
  scm.close();
  // Whether A was stopped and started again rests on the system's list of running dependents.
  if (!systemlistsdependents()) GTEST_SKIP() << nolisting() << " (A was left running, never restarted)";
  EXPECT_NE(processid(depa), apid);
  EXPECT_EQ(starts(), (std::vector<std::string>{base, depa, base, depa}));
}

TEST(ServiceList, WalksForwardAndBack) {
  servicelist_c* list = makelist({"Alpha", "Beta", "Gamma"});
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count, 3);
  EXPECT_EQ(list->cursor, 0);
  EXPECT_EQ(list->closed, 0);
  char name[16];
  std::vector<std::string> seen;
  while (list->next(name, sizeof name)) seen.push_back(name);
  EXPECT_EQ(seen, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(list->cursor, 3);

  list->rewind(1);
  EXPECT_EQ(list->cursor, 2);
  seen.clear();
  while (list->prev(name, sizeof name)) seen.push_back(name);
  EXPECT_EQ(seen, (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
  EXPECT_EQ(list->cursor, -1);

  list->rewind(0);
  char small[8];
  memset(small, '#', sizeof small);
  EXPECT_EQ(list->next(small, 3), 1);
  EXPECT_STREQ(small, "Al") << "cut to the size with the terminator";
  EXPECT_EQ(small[3], '#');
  EXPECT_EQ(list->next(nullptr, 16), 0);
  EXPECT_EQ(list->next(name, 0), 0);
  EXPECT_EQ(list->cursor, 1) << "a refused copy does not move the cursor";

  list->closed = 1;
  SetLastError(sentinel);
  EXPECT_EQ(list->next(name, sizeof name), 0);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
  EXPECT_EQ(list->prev(name, sizeof name), 0);
  list->release();
}

TEST(ServiceList, EmptyList) {
  servicelist_c* list = servicelist_c::create(nullptr, 0);
  ASSERT_NE(list, nullptr);
  char name[8];
  EXPECT_EQ(list->next(name, sizeof name), 0);
  list->rewind(1);
  EXPECT_EQ(list->prev(name, sizeof name), 0);
  list->release();
}

}  // namespace
