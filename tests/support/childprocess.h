#pragma once
// Programs next to the test programs (connector host, fax server simulator), run as real child
// processes with their output caught in a file.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/testsupport.h"

// Runs a program next to this test to its end: its exit code, or -1 when it could not start or
// did not end within timeoutms (it is ended then). Its output goes to output when given.
inline int runsibling(const std::string& program, const std::string& arguments, std::string* output = nullptr,
                      DWORD timeoutms = 60000) {
  scratchdir_c dir;
  std::string outfile = dir.file("out.txt");
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(outfile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return -1;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string line = "\"" + siblingpath(program) + "\" " + arguments;
  std::vector<char> text(line.begin(), line.end());
  text.push_back(0);
  BOOL started = CreateProcessA(nullptr, text.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(out);
  if (!started) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, timeoutms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (output) *output = readwhole(outfile);
  return static_cast<int>(code);
}

inline std::string inquotes(const std::string& s) { return "\"" + s + "\""; }

// A program next to this test running on its own while the test goes on; ended (killed) when
// the object goes and it still runs.
class siblingprocess_c {
public:
  siblingprocess_c() = default;
  ~siblingprocess_c() {
    if (!info.hProcess) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  siblingprocess_c(const siblingprocess_c&) = delete;
  siblingprocess_c& operator=(const siblingprocess_c&) = delete;

  bool start(const std::string& program, const std::string& arguments) {
    if (info.hProcess) return false;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = "\"" + siblingpath(program) + "\" " + arguments;
    std::vector<char> text(line.begin(), line.end());
    text.push_back(0);
    return CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info) != FALSE;
  }
  // The exit code once it ended within ms, else -1.
  int wait(DWORD ms) {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<int>(code);
  }

private:
  PROCESS_INFORMATION info = {};
};
