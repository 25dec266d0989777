// Stand-in for the outside programs the Manager starts: the viewer (rlpageview.exe and the older
// pageview.exe), the composer (compose.exe) and the version program (tvk_ver.exe). One source is
// built under each of those names; the program's own file name says which it is. It shows
// nothing and does no work of the real program: it records what it was handed, then ends with 0.
//
// When the environment variable RAVELINK_STANDIN_LOG names a file, one block is appended to it
// (written with a single write, so blocks of programs running at the same time never mix):
//
//   program rlpageview.exe                      the program's own file name, lower case
//   cmdline "C:\...\rlpageview.exe" -x          its command line exactly as it got it
//   show 2                                      STARTUPINFO.wShowWindow; "show default" when the
//                                               starter gave none (no STARTF_USESHOWWINDOW)
//   section rlprog.ini|Ravelink Viewer          the INI file and section it reads, if any:
//   key File0=C:\box\00001234.TIF               one line per key of that section, in file order
//   key FileCount=1
//   end                                         the block is complete
//
// Lines end with CR LF. The viewer reads section "Ravelink Viewer" of rlprog.ini, the composer
// section "ResubmitParams" of RIROVEVI.INI (both in the Windows directory, as profile files named
// without a folder are), the version program reads none.
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

struct role {
  const char* program;
  const char* inifile;   // null: reads no section
  const char* section;
};

const role roles[] = {
    {"rlpageview.exe", "rlprog.ini", "Ravelink Viewer"},
    {"pageview.exe", "rlprog.ini", "Ravelink Viewer"},
    {"compose.exe", "RIROVEVI.INI", "ResubmitParams"},
    {"tvk_ver.exe", nullptr, nullptr},
};

std::string ownname() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return "";
  std::string name(path);
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return name;
}

std::string block() {
  std::string name = ownname();
  std::string text = "program " + name + "\r\n";
  text += "cmdline " + std::string(GetCommandLineA()) + "\r\n";
  STARTUPINFOA startup;
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  if (startup.dwFlags & STARTF_USESHOWWINDOW)
    text += "show " + std::to_string(startup.wShowWindow) + "\r\n";
  else
    text += "show default\r\n";
  for (const role& r : roles) {
    if (name != r.program || !r.inifile) continue;
    text += std::string("section ") + r.inifile + "|" + r.section + "\r\n";
    // "key=value\0key=value\0\0"; grown until the whole section fits.
    std::vector<char> buffer(4096);
    for (;;) {
      DWORD got = GetPrivateProfileSectionA(r.section, buffer.data(), static_cast<DWORD>(buffer.size()), r.inifile);
      if (got + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
        buffer.resize(got);
        break;
      }
      buffer.resize(buffer.size() * 2);
    }
    for (size_t at = 0; at < buffer.size();) {
      std::string line(buffer.data() + at);
      at += line.size() + 1;
      if (!line.empty()) text += "key " + line + "\r\n";
    }
  }
  text += "end\r\n";
  return text;
}

void append(const char* logfile, const std::string& text) {
  // Another stand-in (or the test reading the log) may have the file for a moment.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileA(logfile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(50);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char logfile[MAX_PATH] = "";
  DWORD n = GetEnvironmentVariableA("RAVELINK_STANDIN_LOG", logfile, sizeof logfile);
  if (n > 0 && n < sizeof logfile) append(logfile, block());
  return 0;
}
