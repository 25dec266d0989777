#pragma once
// Shared pieces of the mailbox store tests and their helper program: records with a checksum in
// the subject, child processes, named events, file sizes.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxheader.h"

namespace storetest {

// A plain outgoing event with the given subject.
inline eventrecord makeevent(const char* subject, uint8_t state = EVS_PENDING) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.state = state;
  r.day = 9;
  r.month = 3;
  r.year = 2024;
  r.hour = 19;
  r.minute = 25;
  setfield(r.subject, subject, EV_SUBJECTMAX);
  setfield(r.sendername, "jdoe", EV_TEXTMAX);
  setfield(r.senderaddress, "John Doe@ravelink", EV_TEXTMAX);
  setfield(r.recipientname, "Jane Roe", EV_TEXTMAX);
  setfield(r.recipientaddress, "+49 30 1234567", EV_TEXTMAX);
  return r;
}

// Records marked by writer and sequence number, every byte but slotstate covered by a checksum
// written into the subject: "w=WW n=NNNNN c=XXXXXXXX". A record that is not whole fails check.
inline uint32_t fnv1a(const unsigned char* bytes, size_t size, uint32_t h = 2166136261u) {
  for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 16777619u;
  return h;
}

const size_t STAMPAT = 15;  // offset of the eight hex digits inside subject

inline uint32_t stampsum(const eventrecord& r) {
  eventrecord copy = r;
  copy.slotstate = 0;
  memset(copy.subject + STAMPAT, '0', 8);
  return fnv1a(reinterpret_cast<const unsigned char*>(&copy), sizeof copy);
}

inline eventrecord stampedevent(int writer, int seq) {
  eventrecord r = makeevent("");
  char subject[64];
  snprintf(subject, sizeof subject, "w=%02d n=%05d c=00000000", writer % 100, seq % 100000);
  setfield(r.subject, subject);
  char text[64];
  snprintf(text, sizeof text, "writer %d", writer);
  setfield(r.sendername, text);
  snprintf(text, sizeof text, "event %d of writer %d", seq, writer);
  setfield(r.recipientname, text);
  // Fill the rest with a pattern that differs per record, up to the last byte of the record.
  for (int i = 0; i < EV_MAXATTACH; ++i) {
    for (int b = 0; b < 4; ++b) r.attachments[i].reserved[b] = static_cast<uint8_t>(writer * 31 + seq * 7 + i + b);
  }
  memset(r.coverpage, 'A' + (seq % 26), 40);
  r.aux = static_cast<uint8_t>(seq);
  char digits[9];
  snprintf(digits, sizeof digits, "%08X", stampsum(r));
  memcpy(r.subject + STAMPAT, digits, 8);
  return r;
}

// 1 when the record is whole: its checksum matches; writer and seq receive its marks.
inline int checkstamp(const eventrecord& r, int* writer, int* seq) {
  int w = -1, n = -1;
  unsigned c = 0;
  char subject[257];
  fieldtext(r.subject, subject, sizeof subject);
  if (sscanf(subject, "w=%d n=%d c=%x", &w, &n, &c) != 3) return 0;
  if (c != stampsum(r)) return 0;
  if (writer) *writer = w;
  if (seq) *seq = n;
  return 1;
}

inline int64_t filesize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Reads or writes bytes at an offset of a file, sharing everything (the tests' own view).
inline bool patchfile(const std::string& path, int64_t offset, const void* bytes, DWORD size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  DWORD put = 0;
  bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && WriteFile(h, bytes, size, &put, nullptr) && put == size;
  CloseHandle(h);
  return ok;
}

inline bool peekfile(const std::string& path, int64_t offset, void* bytes, DWORD size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  DWORD got = 0;
  bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && ReadFile(h, bytes, size, &got, nullptr) && got == size;
  CloseHandle(h);
  return ok;
}

inline uint32_t diskfreehint(const std::string& path) {
  uint32_t hint = 0xFFFFFFFF;
  peekfile(path, offsetof(mailboxheader, freehint), &hint, sizeof hint);
  return hint;
}

// A named event the helper sets when it has reached a point; unique per test run.
class namedevent_c {
public:
  explicit namedevent_c(const char* what) {
    static unsigned counter = 0;
    char text[128];
    snprintf(text, sizeof text, "ravelink-store-%s-%lu-%u", what, GetCurrentProcessId(), counter++);
    name = text;
    handle = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  }
  ~namedevent_c() {
    if (handle) CloseHandle(handle);
  }
  namedevent_c(const namedevent_c&) = delete;
  namedevent_c& operator=(const namedevent_c&) = delete;
  bool wait(DWORD ms) const { return WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
  void set() const { SetEvent(handle); }
  std::string name;
  HANDLE handle;
};

// A child process of the helper program; killed when the object goes while it still runs.
class child_c {
public:
  child_c() { memset(&info, 0, sizeof info); }
  ~child_c() {
    if (info.hProcess) {
      if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  child_c(const child_c&) = delete;
  child_c& operator=(const child_c&) = delete;

  bool start(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) != 0;
  }
  // The exit code, or -1 when it did not end within ms.
  long wait(DWORD ms) {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
  }
  void kill() {
    if (info.hProcess) TerminateProcess(info.hProcess, 99);
  }
  PROCESS_INFORMATION info;
};

inline std::string quote(const std::string& text) { return "\"" + text + "\""; }

}  // namespace storetest
