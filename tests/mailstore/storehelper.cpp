// Helper program of the mailbox store tests: another process on the same mailbox file.
//
//   storehelper hold MAILBOX MS READYEVENT          keep a batch (exclusive) for MS milliseconds
//   storehelper holdread MAILBOX MS READYEVENT      keep a reader's opening (deny-write) for MS
//   storehelper writer MAILBOX ID COUNT RESULTFILE [GOEVENT]
//                                                   add COUNT stamped events, some in small batches
//   storehelper enumfree MAILBOX STOPEVENT RESULTFILE
//                                                   enumerate in batches, check every record, free
//                                                   events whose sequence number is a multiple of 5
//   storehelper batchwriter MAILBOX SLOTS BATCHES READYEVENT [TURNEVENT]
//                                                   rewrite slots 1..SLOTS in batches: first "half",
//                                                   then "done" for each generation; with TURNEVENT,
//                                                   wait after each batch until the reader sets it
//   storehelper holdforever MAILBOX ID READYEVENT   add stamped events inside one batch that never
//                                                   ends (the test kills it)
//
// Results go to RESULTFILE as "key value" lines; the exit code is 0 when nothing went wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mailstore/mailboxfile.h"
#include "tests/mailstore/storetestkit.h"

namespace {

void setnamed(const char* name) {
  HANDLE h = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
  if (h) {
    SetEvent(h);
    CloseHandle(h);
  }
}

bool isnamedset(HANDLE h) { return h && WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

int hold(const char* mailbox, int ms, const char* ready) {
  mailboxfile_c file;
  if (!file.open(mailbox)) return 2;
  file.setkeepopen(1);
  file.isfree(1);  // the first operation of the batch takes the file
  if (!file.isopen()) return 3;
  setnamed(ready);
  Sleep(static_cast<DWORD>(ms));
  file.setkeepopen(0);
  return 0;
}

int holdread(const char* mailbox, int ms, const char* ready) {
  HANDLE h = CreateFileA(mailbox, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 2;
  setnamed(ready);
  Sleep(static_cast<DWORD>(ms));
  CloseHandle(h);
  return 0;
}

int writer(const char* mailbox, int id, int count, const char* resultfile, const char* go) {
  if (go) {
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, go);
    if (h) {
      WaitForSingleObject(h, 30000);
      CloseHandle(h);
    }
  }
  // Tell the test this writer is about to take the file (its first operation begins now).
  std::string started = std::string(resultfile) + ".started";
  if (FILE* mark = fopen(started.c_str(), "w")) fclose(mark);
  mailboxfile_c file;
  ULONGLONG openstart = GetTickCount64();
  if (!file.open(mailbox)) return 2;
  ULONGLONG maxms = GetTickCount64() - openstart;
  int added = 0, failed = 0, earlyfailures = 0;
  std::string slots;
  for (int seq = 0; seq < count;) {
    // Every fourth round adds three events in one batch, as a connector does for three recipients.
    int inbatch = (seq % 4 == 3) ? 3 : 1;
    if (inbatch > count - seq) inbatch = count - seq;
    if (inbatch > 1) file.setkeepopen(1);
    for (int k = 0; k < inbatch; ++k, ++seq) {
      eventrecord r = storetest::stampedevent(id, seq);
      ULONGLONG opstart = GetTickCount64();
      int slot = file.addevent(&r);
      ULONGLONG took = GetTickCount64() - opstart;
      if (took > maxms) maxms = took;
      if (slot > 0) {
        ++added;
      } else {
        ++failed;
        if (took < 9900) ++earlyfailures;  // failed before the retry time was used up
        slots += " " + std::to_string(seq);
      }
    }
    if (inbatch > 1) file.setkeepopen(0);
  }
  FILE* out = fopen(resultfile, "w");
  if (!out) return 4;
  fprintf(out, "added %d\nfailed %d\nearlyfailures %d\nmaxms %llu\nopenings %u\nfailedattempts %u\nfailedseqs%s\n",
          added, failed, earlyfailures, maxms, file.openings, file.failedattempts, slots.c_str());
  fclose(out);
  return earlyfailures ? 1 : 0;
}

int enumfree(const char* mailbox, const char* stop, const char* resultfile) {
  mailboxfile_c file;
  if (!file.open(mailbox)) return 2;
  HANDLE stopevent = OpenEventA(SYNCHRONIZE, FALSE, stop);
  FILE* out = fopen(resultfile, "w");
  if (!out) return 4;
  long passes = 0, seen = 0, bad = 0, freed = 0, failedops = 0, openfailures = 0, earlyopenfailures = 0;
  ULONGLONG maxbatchms = 0;
  bool last = false;
  for (;;) {
    if (isnamedset(stopevent)) last = true;  // one more whole pass after the writers are done
    ULONGLONG start = GetTickCount64();
    file.setkeepopen(1);
    eventrecord r;
    uint32_t openedbefore = file.openings;
    int slot = file.firstevent(&r);
    if (slot == 0 && !file.isopen()) {
      // The batch could not take the file: only acceptable once the retry time is used up.
      ++openfailures;
      if (GetTickCount64() - start < 9900) ++earlyopenfailures;
    }
    for (; slot > 0; slot = file.nextevent(&r)) {
      ++seen;
      int w = 0, n = 0;
      if (!storetest::checkstamp(r, &w, &n)) {
        ++bad;
        fprintf(out, "badslot %d\n", slot);
        continue;
      }
      if (n % 5 == 0) {
        if (file.freeevent(slot)) {
          ++freed;
          fprintf(out, "freed %d %d\n", w, n);
        } else {
          ++failedops;
        }
      }
    }
    if (file.openings - openedbefore > 1) fprintf(out, "batchopenings %u\n", file.openings - openedbefore);
    file.setkeepopen(0);
    ULONGLONG took = GetTickCount64() - start;
    if (took > maxbatchms) maxbatchms = took;
    ++passes;
    if (last) break;
    Sleep(20);
  }
  fprintf(out,
          "passes %ld\nseen %ld\nbad %ld\nfreedcount %ld\nfailedops %ld\nopenfailures %ld\nearlyopenfailures %ld\n"
          "maxbatchms %llu\nopenings %u\n",
          passes, seen, bad, freed, failedops, openfailures, earlyopenfailures, maxbatchms, file.openings);
  fclose(out);
  if (stopevent) CloseHandle(stopevent);
  return (bad || failedops || earlyopenfailures) ? 1 : 0;
}

int batchwriter(const char* mailbox, int slots, int batches, const char* ready, const char* turn) {
  mailboxfile_c file;
  if (!file.open(mailbox)) return 2;
  // The reader's turn: on a busy machine the writer could otherwise finish every batch before
  // the reader looked more than a few times.
  HANDLE turnevent = turn ? OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, turn) : nullptr;
  for (int g = 1; g <= batches; ++g) {
    file.setkeepopen(1);
    for (int pass = 0; pass < 2; ++pass) {
      for (int s = 1; s <= slots; ++s) {
        char subject[64];
        snprintf(subject, sizeof subject, "g=%d %s", g, pass == 0 ? "half" : "done");
        eventrecord r = storetest::makeevent(subject);
        if (!file.updateevent(&r, s)) return 3;
        if (g == 1 && pass == 0 && s == 1) setnamed(ready);
        Sleep(1);  // give readers every chance to look in the middle of the batch
      }
    }
    file.setkeepopen(0);
    Sleep(3);
    if (turnevent) {
      WaitForSingleObject(turnevent, 10000);
      ResetEvent(turnevent);
    }
  }
  if (turnevent) CloseHandle(turnevent);
  return 0;
}

int holdforever(const char* mailbox, int id, const char* ready) {
  mailboxfile_c file;
  if (!file.open(mailbox)) return 2;
  file.setkeepopen(1);
  for (int seq = 0;; ++seq) {
    eventrecord r = storetest::stampedevent(id, seq);
    if (!file.addevent(&r)) return 3;
    if (seq == 5) setnamed(ready);
    Sleep(2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 64;
  std::string mode = argv[1];
  const char* mailbox = argv[2];
  if (mode == "hold" && argc >= 5) return hold(mailbox, atoi(argv[3]), argv[4]);
  if (mode == "holdread" && argc >= 5) return holdread(mailbox, atoi(argv[3]), argv[4]);
  if (mode == "writer" && argc >= 6) return writer(mailbox, atoi(argv[3]), atoi(argv[4]), argv[5], argc >= 7 ? argv[6] : nullptr);
  if (mode == "enumfree" && argc >= 5) return enumfree(mailbox, argv[3], argv[4]);
  if (mode == "batchwriter" && argc >= 6) return batchwriter(mailbox, atoi(argv[3]), atoi(argv[4]), argv[5], argc >= 7 ? argv[6] : nullptr);
  if (mode == "holdforever" && argc >= 5) return holdforever(mailbox, atoi(argv[3]), argv[4]);
  return 64;
}
