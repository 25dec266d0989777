// Soak of one mailbox shared by everybody at once: 8 submitters, each starting cgwhost.exe N times
// to submit one fax through the real Ravelink.cgw; the fax server's stand-in (faxsim.exe) making a
// pass every 200 ms; and a reader reloading the whole mailbox every 200 ms as the Manager does.
// At the end every submitted fax is accounted for exactly once and has reached Sent or Failed by
// the stand-in's rule, every record is whole, every side file it names exists, and no operation
// failed. Prints the figures; the ratio last: a submission's mean time under this load against the
// same submission alone in the same run.
//
//   cmake/winerun.sh build/x86_64/bin/soak.exe [N]      (N faxes per submitter, default 10)
//
// Points RIROVEVI.INI of the prefix at a scratch root for the run and puts it back afterwards.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"

namespace {

const int SUBMITTERS = 8;
const int READEVERYMS = 200;

double now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string bindir() {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string bin(self, n);
  bin.resize(bin.find_last_of('\\') + 1);
  return bin;
}

void removetree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removetree(dir + "\\" + name);
      else DeleteFileA((dir + "\\" + name).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a command line to its end (output to outfile, or discarded): the exit code, -1 when it did
// not start or end within the time.
long run(const std::string& exe, const std::string& arguments, const std::string& outfile, DWORD ms,
         PROCESS_INFORMATION* keep = nullptr) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(outfile.empty() ? "NUL" : outfile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string line = "\"" + exe + "\" " + arguments;
  STARTUPINFOA startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION info;
  memset(&info, 0, sizeof info);
  BOOL started = CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (!started) return -1;
  if (keep) {
    *keep = info;
    return 0;
  }
  long code = -1;
  if (WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0) {
    DWORD c = 0;
    GetExitCodeProcess(info.hProcess, &c);
    code = static_cast<long>(c);
  } else {
    TerminateProcess(info.hProcess, 99);
  }
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return code;
}

// The fax number of submitter s's fax k: every fifth ends in 13 and is to fail.
std::string faxnumber(int s, int k) {
  char text[32];
  snprintf(text, sizeof text, "+49 30 %02d%03d%s", s, k, k % 5 == 4 ? "13" : "00");
  return text;
}

std::string subject(int s, int k) { return "soak " + std::to_string(s) + "-" + std::to_string(k); }

struct submitterresult {
  int failed = 0;
  double seconds = 0;   // summed over its submissions
  int count = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int perSubmitter = argc > 1 ? atoi(argv[1]) : 10;
  if (perSubmitter < 1) perSubmitter = 1;
  std::string bin = bindir();
  std::string cgwhost = bin + "cgwhost.exe", connector = bin + "Ravelink.cgw", faxsim = bin + "faxsim.exe";
  for (const std::string& f : {cgwhost, connector, faxsim}) {
    if (!exists(f)) {
      printf("missing %s\n", f.c_str());
      return 1;
    }
  }

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string work = std::string(temp) + "rlsoak" + std::to_string(GetCurrentProcessId());
  std::string root = work + "\\root", dir = root + "\\me", mailbox = dir + "\\mailbox.rlb";
  CreateDirectoryA(work.c_str(), nullptr);
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string document = work + "\\offer.tif";
  {
    HANDLE h = CreateFileA(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string bytes(16 * 1024, 'F');
    DWORD put = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
  }

  // The mailbox of the Windows user running this (the connector logs on as that user).
  char me[256] = "";
  DWORD mesize = sizeof me;
  GetUserNameA(me, &mesize);
  {
    mailboxfile_c f;
    if (!f.create(mailbox.c_str(), "Me@ravelink")) {
      printf("cannot create %s\n", mailbox.c_str());
      return 1;
    }
  }
  {
    HANDLE h = CreateFileA(mailbox.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(h, offsetof(mailboxheader, loginname), nullptr, FILE_BEGIN);
    DWORD put = 0;
    WriteFile(h, me, static_cast<DWORD>(strlen(me) + 1), &put, nullptr);
    CloseHandle(h);
  }
  char oldroot[600];
  GetPrivateProfileStringA("Directories", "Mailbox", "\x01", oldroot, sizeof oldroot, "RIROVEVI.INI");
  WritePrivateProfileStringA("Directories", "Mailbox", root.c_str(), "RIROVEVI.INI");
  auto restore = [&]() {
    WritePrivateProfileStringA("Directories", "Mailbox", strcmp(oldroot, "\x01") ? oldroot : nullptr, "RIROVEVI.INI");
  };

  auto submit = [&](int s, int k) {
    std::string args = "\"" + connector + "\" --logon ~ ~ --subject \"" + subject(s, k) +
                       "\" --body \"soak body\" --to \"Soak|Recipient|Soak Ltd|" + faxnumber(s, k) +
                       "|||\" --attach \"" + document + "\"";
    return run(cgwhost, args, "", 60000);
  };

  // The floor: the same submission with nobody else at the file (into a separate lane number).
  const int SOLO = 5;
  double solo0 = now();
  for (int k = 0; k < SOLO; ++k) {
    if (submit(SUBMITTERS, k) != 0) {
      printf("a submission alone failed\n");
      restore();
      return 1;
    }
  }
  double solo = (now() - solo0) / SOLO;

  // The stand-in fax server and the reader.
  std::string stop = work + "\\stop";
  PROCESS_INFORMATION server;
  if (run(faxsim, "\"" + root + "\" --every 200 --fail-suffix 13 --until-file \"" + stop + "\"", work + "\\faxsim.out",
          0, &server) != 0) {
    printf("cannot start faxsim\n");
    restore();
    return 1;
  }
  std::atomic<bool> reading{true};
  std::atomic<int> reloads{0}, readfailures{0}, brokenreads{0};
  std::atomic<long> worstreload{0};
  std::thread reader([&]() {
    while (reading) {
      double t0 = now();
      mailboxfile_c f;
      if (!f.open(mailbox.c_str())) {
        ++readfailures;
      } else {
        f.setkeepopen(1);
        eventrecord r;
        for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r))
          if (eventproblems(r)) ++brokenreads;
        f.setkeepopen(0);
      }
      long ms = static_cast<long>((now() - t0) * 1000);
      if (ms > worstreload) worstreload = ms;
      ++reloads;
      Sleep(READEVERYMS);
    }
  });

  double t0 = now();
  std::vector<submitterresult> results(SUBMITTERS);
  std::vector<std::thread> lanes;
  for (int s = 0; s < SUBMITTERS; ++s) {
    lanes.emplace_back([&, s]() {
      for (int k = 0; k < perSubmitter; ++k) {
        double a = now();
        if (submit(s, k) != 0) ++results[s].failed;
        results[s].seconds += now() - a;
        ++results[s].count;
      }
    });
  }
  for (std::thread& t : lanes) t.join();
  double submitted = now() - t0;

  // Let the server finish every fax (three passes each), then stop it.
  int total = SUBMITTERS * perSubmitter + SOLO;
  double drain0 = now();
  int open = total;
  while (open > 0 && now() - drain0 < 120) {
    Sleep(200);
    open = 0;
    mailboxfile_c f;
    if (!f.open(mailbox.c_str())) continue;
    f.setkeepopen(1);
    eventrecord r;
    for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r))
      if (r.state != EVS_SENT && r.state != EVS_FAILED) ++open;
    f.setkeepopen(0);
  }
  double drained = now() - drain0;
  HANDLE h = CreateFileA(stop.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  DWORD servercode = 99;
  if (WaitForSingleObject(server.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(server.hProcess, 99);
  GetExitCodeProcess(server.hProcess, &servercode);
  CloseHandle(server.hProcess);
  CloseHandle(server.hThread);
  reading = false;
  reader.join();
  restore();

  // The accounting.
  std::map<std::string, int> seen;
  int problems = 0, wrongstate = 0, missingfiles = 0, unknown = 0;
  {
    mailboxfile_c f;
    f.open(mailbox.c_str());
    f.setkeepopen(1);
    eventrecord r;
    for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r)) {
      if (eventproblems(r)) ++problems;
      char text[257];
      fieldtext(r.subject, text, sizeof text);
      seen[text]++;
      char number[64];
      fieldtext(r.recipientaddress, number, sizeof number);
      size_t n = strlen(number);
      bool shouldfail = n >= 2 && strcmp(number + n - 2, "13") == 0;
      if (r.state != (shouldfail ? EVS_FAILED : EVS_SENT)) ++wrongstate;
      char path[MAX_PATH];
      if ((r.flags & EV_BODY) && !(f.sidefilepath(r.bodyfile, sizeof r.bodyfile, path, sizeof path) && exists(path)))
        ++missingfiles;
      if ((r.flags & EV_RECIPFILE) &&
          !(f.sidefilepath(r.recipientfile, sizeof r.recipientfile, path, sizeof path) && exists(path)))
        ++missingfiles;
      for (int i = 0; i < attachmentcount(r); ++i)
        if (!(f.sidefilepath(r.attachments[i].name, sizeof r.attachments[i].name, path, sizeof path) && exists(path)))
          ++missingfiles;
    }
    f.setkeepopen(0);
  }
  int missing = 0, doubled = 0;
  for (int s = 0; s <= SUBMITTERS; ++s) {
    for (int k = 0; k < (s == SUBMITTERS ? SOLO : perSubmitter); ++k) {
      auto it = seen.find(subject(s, k));
      if (it == seen.end()) ++missing;
      else if (it->second != 1) ++doubled;
      if (it != seen.end()) seen.erase(it);
    }
  }
  unknown = static_cast<int>(seen.size());
  int failedsubmissions = 0;
  double contended = 0;
  int contendedcount = 0;
  for (const submitterresult& r : results) {
    failedsubmissions += r.failed;
    contended += r.seconds;
    contendedcount += r.count;
  }
  contended /= contendedcount > 0 ? contendedcount : 1;

  HANDLE out = CreateFileA((work + "\\faxsim.out").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  int actions = 0;
  if (out != INVALID_HANDLE_VALUE) {
    char block[4096];
    DWORD got = 0;
    while (ReadFile(out, block, sizeof block, &got, nullptr) && got > 0)
      for (DWORD i = 0; i < got; ++i) actions += block[i] == '\n';
    CloseHandle(out);
  }
  removetree(work);

  bool ok = missing == 0 && doubled == 0 && unknown == 0 && problems == 0 && wrongstate == 0 && missingfiles == 0 &&
            failedsubmissions == 0 && readfailures == 0 && brokenreads == 0 && servercode == 0 && open == 0;
  printf("submitters: %d x %d faxes through cgwhost.exe and Ravelink.cgw, plus %d alone\n", SUBMITTERS, perSubmitter,
         SOLO);
  printf("submitting took: %.1f s (%.1f faxes/s); all done %.1f s later\n", submitted,
         SUBMITTERS * perSubmitter / submitted, drained);
  printf("faxsim actions: %d (exit code %lu)\n", actions, static_cast<unsigned long>(servercode));
  printf("reader reloads: %d, slowest %ld ms, failed opens %d, broken records seen %d\n", reloads.load(),
         worstreload.load(), readfailures.load(), brokenreads.load());
  printf("accounting: %d events expected, missing %d, more than once %d, unknown %d, not whole %d, wrong end state "
         "%d, missing side files %d, failed submissions %d, unfinished %d\n",
         total, missing, doubled, unknown, problems, wrongstate, missingfiles, failedsubmissions, open);
  printf("result: %s\n", ok ? "every fax accounted for exactly once" : "PROBLEMS (see above)");
  printf("submission alone: %.1f ms, under load: %.1f ms\n", solo * 1000, contended * 1000);
  printf("ratio: %.2f\n", contended / solo);
  return ok ? 0 : 1;
}
