// A message to 50 recipients with two attachments of 256 KB each, submitted through the network
// connector, against copying the same 100 files with CopyFile in the same run. The mailbox file is
// opened once for the whole message. Prints the figures and the ratio last.
//
//   cmake/winerun.sh build/x86_64/bin/connector_submit.exe [rounds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "connectors/cgw.h"
#include "mailstore/mailboxfile.h"

namespace {

double now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string tempdir(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string dir = std::string(temp) + name + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void emptyfolder(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + "\\" + fd.cFileName).c_str());
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

void writefile(const std::string& path, size_t size) {
  std::string bytes(size, 'F');
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

template <typename T>
T byordinal(HMODULE m, int n) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, MAKEINTRESOURCEA(n))));
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? atoi(argv[1]) : 5;
  if (rounds < 1) rounds = 1;
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string bin(self);
  bin.resize(bin.find_last_of('\\') + 1);

  std::string root = tempdir("rlbench_root");
  std::string box = root + "\\me";
  CreateDirectoryA(box.c_str(), nullptr);
  std::string docs = tempdir("rlbench_docs");
  std::string plain = tempdir("rlbench_copy");
  std::string a1 = docs + "\\offer.tif", a2 = docs + "\\terms.doc";
  writefile(a1, 256 * 1024);
  writefile(a2, 256 * 1024);

  char me[256] = "";
  DWORD mesize = sizeof me;
  GetUserNameA(me, &mesize);
  char oldroot[600];
  GetPrivateProfileStringA("Directories", "Mailbox", "\x01", oldroot, sizeof oldroot, "RIROVEVI.INI");
  WritePrivateProfileStringA("Directories", "Mailbox", root.c_str(), "RIROVEVI.INI");

  HMODULE cgw = LoadLibraryA((bin + "Ravelink.cgw").c_str());
  if (!cgw) {
    printf("cannot load Ravelink.cgw\n");
    return 1;
  }
  auto logonex = byordinal<cgwLogonEx_t>(cgw, CGWORD_LOGONEX);
  auto sendex = byordinal<cgwSendMessageEx_t>(cgw, CGWORD_SENDMESSAGEEX);

  std::vector<cgwrecipient> to(50);
  for (int i = 0; i < 50; ++i) {
    to[i] = {};
    snprintf(to[i].firstname, sizeof to[i].firstname, "Recipient");
    snprintf(to[i].lastname, sizeof to[i].lastname, "%d", i);
    snprintf(to[i].faxno, sizeof to[i].faxno, "+49 30 %04d", i);
  }
  cgwattachment attach[2] = {};
  attach[0].path = a1.c_str();
  attach[1].path = a2.c_str();
  cgwmessage m = {};
  m.flags = CGW_SUBJECT;
  m.subject = "benchmark";
  m.recipientcount = 50;
  m.recipients = to.data();
  m.attachmentcount = 2;
  m.attachments = attach;

  double best = 1e9, bestcopy = 1e9;
  for (int r = 0; r < rounds; ++r) {
    emptyfolder(box);
    {
      mailboxfile_c f;
      f.create((box + "\\mailbox.rlb").c_str(), "Me");
    }
    // The owner's account name, as the server's administration writes it.
    HANDLE h = CreateFileA((box + "\\mailbox.rlb").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(h, 268, nullptr, FILE_BEGIN);
    DWORD put = 0;
    WriteFile(h, me, static_cast<DWORD>(strlen(me) + 1), &put, nullptr);
    CloseHandle(h);
    if (logonex(0, nullptr, nullptr, 0) != 0) {
      printf("logon failed\n");
      return 1;
    }
    double t0 = now();
    int32_t result = sendex(0, &m);
    double t1 = now();
    if (result != 0) {
      printf("submission failed: %ld\n", static_cast<long>(result));
      return 1;
    }
    best = t1 - t0 < best ? t1 - t0 : best;

    emptyfolder(plain);
    double c0 = now();
    for (int i = 0; i < 50; ++i) {
      CopyFileA(a1.c_str(), (plain + "\\a" + std::to_string(i) + ".tif").c_str(), TRUE);
      CopyFileA(a2.c_str(), (plain + "\\b" + std::to_string(i) + ".doc").c_str(), TRUE);
    }
    double c1 = now();
    bestcopy = c1 - c0 < bestcopy ? c1 - c0 : bestcopy;
  }
  FreeLibrary(cgw);
  emptyfolder(box);
  RemoveDirectoryA(box.c_str());
  RemoveDirectoryA(root.c_str());
  emptyfolder(docs);
  RemoveDirectoryA(docs.c_str());
  emptyfolder(plain);
  RemoveDirectoryA(plain.c_str());
  WritePrivateProfileStringA("Directories", "Mailbox", strcmp(oldroot, "\x01") ? oldroot : nullptr, "RIROVEVI.INI");

  printf("rounds: %d (best of)\n", rounds);
  printf("submission, 50 recipients x 2 attachments of 256 KB: %.1f ms\n", best * 1000);
  printf("CopyFile of the same 100 files: %.1f ms\n", bestcopy * 1000);
  printf("ratio: %.2f\n", best / bestcopy);
  return 0;
}
