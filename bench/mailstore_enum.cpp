// Benchmark: enumerating 10,000 events of a mailbox file in one batch, against a raw sequential
// read of the same file in the same run (the floor: every byte of the file read once, each slot's
// state byte looked at). Also counts how often each way opens the file: a batch is one opening.
//
//   mailstore_enum [EVENTS] [ROUNDS]
//
// Prints the figures, and the ratio batch / raw last.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mailstore/mailboxfile.h"

namespace {

double now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The floor: read the file front to back in blocks of the given size, count slots in use.
int rawread(const char* path, DWORD block, int* openings) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  ++*openings;
  static std::vector<unsigned char> buffer;
  buffer.resize(block);
  int used = 0;
  long long offset = 0;
  DWORD got = 0;
  while (ReadFile(h, buffer.data(), block, &got, nullptr) && got > 0) {
    // Slot state bytes that fall into this block.
    for (long long at = offset; at < offset + got; ++at) {
      if (at >= MAILBOX_HEADERSIZE && (at - MAILBOX_HEADERSIZE) % MAILBOX_SLOTSIZE == 0 && buffer[at - offset] == 0)
        ++used;
      if (at >= MAILBOX_HEADERSIZE) at += MAILBOX_SLOTSIZE - 1 - ((at - MAILBOX_HEADERSIZE) % MAILBOX_SLOTSIZE);
    }
    offset += got;
  }
  CloseHandle(h);
  return used;
}

}  // namespace

int main(int argc, char** argv) {
  int events = argc > 1 ? atoi(argv[1]) : 10000;
  int rounds = argc > 2 ? atoi(argv[2]) : 15;
  if (events < 1 || rounds < 1) return 2;

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string dir = std::string(temp) + "rlbench" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\mailbox.rlb";

  mailboxfile_c f;
  if (!f.create(path.c_str(), "Bench@ravelink")) {
    printf("cannot create %s\n", path.c_str());
    return 1;
  }
  double t = now();
  f.setkeepopen(1);
  for (int i = 0; i < events; ++i) {
    eventrecord r;
    memset(&r, 0, sizeof r);
    r.state = static_cast<uint8_t>(i % EVS_COUNT);
    r.day = 1;
    r.month = 1;
    r.year = 2024;
    snprintf(r.subject, sizeof r.subject, "event %d", i);
    if (f.addevent(&r) != i + 1) {
      printf("addevent failed at %d\n", i);
      return 1;
    }
  }
  f.setkeepopen(0);
  double adding = now() - t;
  LARGE_INTEGER size;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileSizeEx(h, &size);
  CloseHandle(h);
  printf("mailbox: %d events, %lld bytes; adding them in one batch took %.1f ms\n", events,
         static_cast<long long>(size.QuadPart), adding * 1000);

  // Warm both ways once, then measure rounds of each, interleaved.
  std::vector<double> raw64, raw1m, batch;
  int rawopenings = 0;
  uint32_t batchopenings = 0, batchreads = 0;
  int counted = 0;
  for (int round = 0; round <= rounds; ++round) {
    int o = 0;
    t = now();
    int used = rawread(path.c_str(), 64 * 1024, &o);
    double a = now() - t;
    t = now();
    rawread(path.c_str(), 1024 * 1024, &o);
    double b = now() - t;

    uint32_t before = f.openings;
    uint32_t readsbefore = f.diskreads;
    t = now();
    f.setkeepopen(1);
    eventrecord r;
    int n = 0;
    for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) ++n;
    f.setkeepopen(0);
    double c = now() - t;
    if (used != events || n != events) {
      printf("counted %d raw and %d enumerated, expected %d\n", used, n, events);
      return 1;
    }
    if (round == 0) continue;
    raw64.push_back(a);
    raw1m.push_back(b);
    batch.push_back(c);
    rawopenings = o / 2;
    batchopenings = f.openings - before;
    batchreads = f.diskreads - readsbefore;
    counted = n;
  }

  // For comparison: the same enumeration outside a batch (every call opens and closes the file).
  uint32_t before = f.openings;
  t = now();
  eventrecord r;
  int n = 0;
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) ++n;
  double single = now() - t;
  uint32_t singleopenings = f.openings - before;

  double floor = std::min(median(raw64), median(raw1m));
  printf("raw sequential read, 64 KiB blocks:   %8.3f ms (median of %d), %d opening\n", median(raw64) * 1000, rounds,
         rawopenings);
  printf("raw sequential read, 1 MiB blocks:    %8.3f ms (median of %d), %d opening\n", median(raw1m) * 1000, rounds,
         rawopenings);
  printf("enumeration in one batch:             %8.3f ms (median of %d), %d events, %u opening(s), %u reads\n",
         median(batch) * 1000, rounds, counted, batchopenings, batchreads);
  printf("enumeration outside a batch:          %8.3f ms (once), %d events, %u openings\n", single * 1000, n,
         singleopenings);
  printf("ratio batch enumeration / raw read: %.2f\n", median(batch) / floor);

  DeleteFileA(path.c_str());
  RemoveDirectoryA(dir.c_str());
  return 0;
}
