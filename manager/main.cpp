// manager.exe: the user's fax mailbox Manager.
#include <windows.h>

#include "manager/managerapp.h"

namespace {
// The one application object, there before WinMain runs and gone after it returns.
CManagerApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandline, int showcommand) {
  return theApp.run(instance, commandline, showcommand);
}
