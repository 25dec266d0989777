#include "manager/managerapp.h"

#include <cstring>

#include "mailstore/handles.h"
#include "manager/mainframe.h"
#include "manager/managerappsettings.h"
#include "manager/res/resource.h"
#include "manager/ui/uiresource.h"
#include "toolkit/path.h"
#include "toolkit/string.h"
#include "toolkit/timing.h"

namespace {

const char iniFile[] = "RIROVEVI.INI";
const char versionProgram[] = "tvk_ver.exe";

DWORD systemmajorversion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return 0;
  return info.dwMajorVersion;
}

// The text of a string resource up to its first line feed.
string_c firstline(unsigned id) {
  string_c text;
  uiloadstring(id, text);
  if (char* cut = text.buffer ? strchr(text.buffer, '\n') : nullptr) *cut = 0;
  return text;
}

}  // namespace

CManagerApp::CManagerApp() : CManagerApp(systemmajorversion()) {}

CManagerApp::CManagerApp(DWORD majorversion) : Windows4(majorversion == 4 ? 1 : 0) {}

CManagerApp::~CManagerApp() = default;

bool CManagerApp::OnStartUp() { return StartUp(commandline(), showcommand()); }

unsigned CManagerApp::ChooseLanguage() {
  char value[31] = "";
  GetPrivateProfileStringA("Options", "Language", "", value, sizeof value, iniFile);
  LANGID language = languagefromsetting(value);
  SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
  // Newer systems pick resources by the thread's user-interface language, not its locale.
  SetThreadUILanguage(language);
  return language;
}

bool CManagerApp::StartUp(const char* commandline, int showcommand) {
  ChooseLanguage();
  // The title was loaded before the language was known.
  settitle(firstline(IDS_APP_TITLE).text());
  // Controls get their three-dimensional look from the common controls the layer registers.
  uiinitcontrols();
  setregistrykey("Ravelink Manager");

  if (HWND running = FindRunningManager()) {
    ShowWindow(running, SW_SHOWNA);
    return false;
  }

  auto created = std::make_unique<CMainFrame>(profile());
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  if (!created->load(IDR_MAINFRAME, style)) return false;
  frame = std::move(created);
  setmainframe(frame.get());

  frame->FirstShow(startshowcommand(commandline, Windows4, showcommand));
  UpdateWindow(frame->hwnd());
  return true;
}

HWND CManagerApp::FindRunningManager() {
  string_c title = firstline(IDR_MAINFRAME);
  size_t n = strlen(title.text());
  // Every window's title starts with an empty text.
  if (n == 0) return nullptr;
  // A bound on the walk: windows coming and going could otherwise keep it running.
  int left = 100000;
  for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window && left > 0;
       window = GetWindow(window, GW_HWNDNEXT), --left) {
    if (!IsWindow(window) || !IsWindowEnabled(window)) continue;
    char text[256] = "";
    int length = GetWindowTextA(window, text, sizeof text);
    if (length <= 0 || static_cast<size_t>(length) < n) continue;
    if (memcmp(text, title.text(), n) == 0) return window;
  }
  return nullptr;
}

void CManagerApp::ShowAbout(HWND mainwindow) {
  char path[MAX_PATH + 1] = "";
  if (!modulerelpath(versionProgram, nullptr, path, sizeof path, nullptr)) return;
  // A path cut to fit would name another file.
  const char* name = filenamepart(path);
  if (!name || lstrcmpiA(name, versionProgram) != 0) return;

  // The program's path is quoted and named on its own as well: unquoted, a folder name with a
  // blank would let the system try "C:\Program.exe" first.
  string_c line;
  strformat(line, "\"%s\" -subkey:\"software\\tavikon\\ravelink client\" -parenthwnd:%lu", path,
            static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(mainwindow)));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!line.buffer ||
      !CreateProcessA(path, line.buffer, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return;
  filehandle_c process(started.hProcess), thread(started.hThread);

  bool hadwindow = mainwindow && IsWindow(mainwindow);
  while (WaitForSingleObject(process.get(), 5) == WAIT_TIMEOUT) pumpwait(100);
  // The wait dispatches this thread's messages and would swallow the quit message that closing
  // the main window meanwhile posted; without it the program would never end.
  if (hadwindow && !IsWindow(mainwindow)) PostQuitMessage(0);
}
