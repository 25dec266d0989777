// The eight exports of the network connector (ordinals in Ravelink.def). No C++ exception leaves
// them: the connector's code reports results, and nothing here throws.
#include <windows.h>

#include "connectors/cgw.h"
#include "connectors/network/networkconnector.h"

namespace {
HMODULE thismodule = nullptr;

// The address book is bound on the first call rather than while the loader lock is held.
networkconnector_c& connector() {
  networkconnector_c& c = theconnector();
  c.start(thismodule);
  return c;
}
}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    thismodule = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: let go of the address book. At process end it goes by itself.
    theconnector().addressbook.release();
  }
  return TRUE;
}

int32_t CGWAPI cgwGetCaps(int32_t capability) { return connector().getcaps(capability); }

int32_t CGWAPI cgwGetInfo(cgwinfo* info) { return connector().getinfo(info); }

// Also exported as cgwSendMessage: both take two values and do nothing.
int32_t CGWAPI cgwLogon(intptr_t, intptr_t) { return 0; }

int32_t CGWAPI cgwLogonEx(intptr_t, const char* user, const char* password, intptr_t) {
  return connector().logon(user, password);
}

int32_t CGWAPI cgwLogoff(intptr_t) { return 0; }

int32_t CGWAPI cgwSendMessageEx(intptr_t, const cgwmessage* message) {
  return connector().send(message);
}

int32_t CGWAPI cgwAddressBook(intptr_t owner, intptr_t hostvalue, cgwhostcallback callback) {
  return connector().addressbook.select(owner, hostvalue, callback);
}
}
