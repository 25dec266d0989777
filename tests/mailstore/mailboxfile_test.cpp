// The mailbox file as a container: sizes, slots, freehint, header checks, batches. Real files in a
// scratch folder; the bytes on disk are checked with the tests' own reads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mailstore/mailboxfile.h"
#include "tests/mailstore/storetestkit.h"
#include "tests/support/testsupport.h"

using namespace storetest;

namespace {

class MailboxFile : public ::testing::Test {
protected:
  scratchdir_c scratch;
  std::string mbx = scratch.file("mailbox.rlb");

  // A new mailbox with events subject "e1" .. "eN" in slots 1..N.
  void makemailbox(mailboxfile_c& f, int events) {
    ASSERT_EQ(1, f.create(mbx.c_str(), "John Doe@ravelink"));
    for (int i = 1; i <= events; ++i) {
      eventrecord r = makeevent(("e" + std::to_string(i)).c_str());
      ASSERT_EQ(i, f.addevent(&r));
    }
  }
  std::string subjectat(mailboxfile_c& f, int slot) {
    eventrecord r;
    if (!f.readevent(&r, slot)) return "<none>";
    char s[257];
    fieldtext(r.subject, s, sizeof s);
    return s;
  }
};

TEST_F(MailboxFile, CreateAndFirstAdd) {
  mailboxfile_c f;
  ASSERT_EQ(1, f.create(mbx.c_str(), "John Doe@ravelink"));
  EXPECT_EQ(652, filesize(mbx));
  EXPECT_EQ(0, f.isopen());
  mailboxheader h;
  ASSERT_TRUE(peekfile(mbx, 0, &h, sizeof h));
  EXPECT_EQ(0, memcmp(h.magic, "RLB", 4));
  EXPECT_STREQ("John Doe@ravelink", h.mailboxname);
  EXPECT_EQ(3, h.version);
  EXPECT_EQ(0, h.revision);
  EXPECT_EQ(1u, h.freehint);
  EXPECT_EQ(scratch.path() + "\\", std::string(f.directory));

  eventrecord r;
  EXPECT_EQ(0, f.firstevent(&r));
  eventrecord e = makeevent("first");
  EXPECT_EQ(1, f.addevent(&e));
  EXPECT_EQ(1920, filesize(mbx));
  EXPECT_EQ(1u, diskfreehint(mbx));
  EXPECT_EQ(1, f.firstevent(&r));
  EXPECT_EQ(0, memcmp(&r, &e, sizeof r));
  EXPECT_EQ(0, f.nextevent(&r));
}

TEST_F(MailboxFile, CreateReplacesAndRefusesOverlongPaths) {
  ASSERT_TRUE(writewhole(mbx, std::string(5000, 'x')));
  mailboxfile_c f;
  ASSERT_EQ(1, f.create(mbx.c_str(), "Personal Mailbox"));
  EXPECT_EQ(652, filesize(mbx));
  std::string longpath = scratch.path() + "\\" + std::string(520, 'a') + ".rlb";
  EXPECT_EQ(0, f.create(longpath.c_str(), "x"));
  EXPECT_EQ(0, f.open(longpath.c_str()));
}

TEST_F(MailboxFile, FreehintMovesAndSlotsAreReused) {
  mailboxfile_c f;
  makemailbox(f, 5);
  EXPECT_EQ(5u, diskfreehint(mbx));
  EXPECT_EQ(1, f.freeevent(3));
  EXPECT_EQ(3u, diskfreehint(mbx));
  eventrecord r = makeevent("reuse");
  EXPECT_EQ(3, f.addevent(&r));
  EXPECT_EQ(3u, diskfreehint(mbx));
  EXPECT_EQ(6, f.addevent(&r)) << "reads slots 3, 4, 5, finds the end";
  EXPECT_EQ(6u, diskfreehint(mbx));
  EXPECT_EQ(652 + 6 * 1268, filesize(mbx));
  // Freeing above the hint leaves it alone.
  EXPECT_EQ(1, f.freeevent(5));
  EXPECT_EQ(5u, diskfreehint(mbx));
  EXPECT_EQ(1, f.freeevent(6));
  EXPECT_EQ(5u, diskfreehint(mbx));
  EXPECT_EQ(5, f.addevent(&r));
  EXPECT_EQ(6, f.addevent(&r));
  EXPECT_EQ(7, f.addevent(&r));
}

TEST_F(MailboxFile, FreehintZeroReadsAsOne) {
  mailboxfile_c f;
  makemailbox(f, 3);
  unsigned char one = 1;
  ASSERT_TRUE(patchfile(mbx, slotoffset(1), &one, 1));
  uint32_t zero = 0;
  ASSERT_TRUE(patchfile(mbx, offsetof(mailboxheader, freehint), &zero, 4));
  eventrecord r = makeevent("x");
  EXPECT_EQ(1, f.addevent(&r));
  EXPECT_EQ(1u, diskfreehint(mbx));
}

TEST_F(MailboxFile, FreehintPastTheEndLeavesNoGap) {
  mailboxfile_c f;
  makemailbox(f, 2);
  uint32_t distant = 1000;
  ASSERT_TRUE(patchfile(mbx, offsetof(mailboxheader, freehint), &distant, 4));
  eventrecord r = makeevent("x");
  EXPECT_EQ(3, f.addevent(&r)) << "zeros in a gap would read as slots in use";
  EXPECT_EQ(652 + 3 * 1268, filesize(mbx));
}

TEST_F(MailboxFile, TrailingRemainderIsNotASlot) {
  mailboxfile_c f;
  makemailbox(f, 2);
  // A partial record at the end (a writer that was cut off).
  HANDLE h = CreateFileA(mbx.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  SetFilePointer(h, 0, nullptr, FILE_END);
  char partial[100] = {0};
  DWORD put;
  WriteFile(h, partial, sizeof partial, &put, nullptr);
  CloseHandle(h);

  eventrecord r;
  EXPECT_EQ(1, f.firstevent(&r));
  EXPECT_EQ(2, f.nextevent(&r));
  EXPECT_EQ(0, f.nextevent(&r)) << "the partial record is not an event";
  EXPECT_EQ(0, f.readevent(&r, 3));
  EXPECT_EQ(1, f.isfree(3));
  eventrecord e = makeevent("x");
  EXPECT_EQ(0, f.updateevent(&e, 3));
  EXPECT_EQ(0, f.freeevent(3));
  EXPECT_EQ(3, f.addevent(&e));
  EXPECT_EQ(652 + 3 * 1268, filesize(mbx)) << "the new record replaces the remainder";
  EXPECT_EQ("x", subjectat(f, 3));
}

TEST_F(MailboxFile, UpdateEvent) {
  mailboxfile_c f;
  makemailbox(f, 2);
  std::string before = readwhole(mbx);
  eventrecord r = makeevent("changed");
  r.slotstate = SLOT_FREE;
  EXPECT_EQ(0, f.updateevent(&r, 1)) << "a record marked free is never written";
  EXPECT_EQ(before, readwhole(mbx));
  r.slotstate = SLOT_INUSE;
  EXPECT_EQ(0, f.updateevent(&r, 3)) << "past the end";
  EXPECT_EQ(0, f.updateevent(&r, 0));
  EXPECT_EQ(before, readwhole(mbx));
  EXPECT_EQ(1, f.updateevent(&r, 2));
  EXPECT_EQ("changed", subjectat(f, 2));
  // A freed slot comes back in use.
  EXPECT_EQ(1, f.freeevent(1));
  EXPECT_EQ(0, f.readevent(&r, 1));
  eventrecord back = makeevent("back");
  EXPECT_EQ(1, f.updateevent(&back, 1));
  EXPECT_EQ(1, f.readevent(&r, 1));
  EXPECT_EQ("back", subjectat(f, 1));
}

TEST_F(MailboxFile, FreeReadIsFree) {
  mailboxfile_c f;
  makemailbox(f, 3);
  eventrecord r;
  EXPECT_EQ(0, f.isfree(2));
  EXPECT_EQ(1, f.freeevent(2));
  // Only the first byte changes; the rest of the record stays in the file.
  unsigned char state = 0;
  ASSERT_TRUE(peekfile(mbx, slotoffset(2), &state, 1));
  EXPECT_EQ(1, state);
  char subject[3] = {};
  ASSERT_TRUE(peekfile(mbx, slotoffset(2) + 16, subject, 2));
  EXPECT_STREQ("e2", subject);
  EXPECT_EQ(0, f.readevent(&r, 2));
  EXPECT_EQ(1, f.isfree(2));
  EXPECT_EQ(1, f.isfree(4));
  EXPECT_EQ(1, f.isfree(1000));
  EXPECT_EQ(0, f.isfree(0)) << "slot 0 does not exist";
  EXPECT_EQ(0, f.readevent(&r, 4));
  EXPECT_EQ(0, f.readevent(&r, 0));
  EXPECT_EQ(0, f.freeevent(4));
  EXPECT_EQ(0, f.freeevent(0));
  EXPECT_EQ(1, f.freeevent(2)) << "freeing a free slot again is harmless";
}

TEST_F(MailboxFile, EnumerationSkipsFreeSlots) {
  mailboxfile_c f;
  makemailbox(f, 6);
  f.freeevent(1);
  f.freeevent(3);
  f.freeevent(4);
  eventrecord r;
  std::string seen;
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) seen += std::to_string(s) + ",";
  EXPECT_EQ("2,5,6,", seen);
  // Callers may change slots between two calls; the enumeration continues after the cursor.
  EXPECT_EQ(2, f.firstevent(&r));
  f.freeevent(5);
  EXPECT_EQ(6, f.nextevent(&r));
}

// Header rejection: magic with a fourth letter, version 2, revision 1.
TEST_F(MailboxFile, InvalidHeadersAreRefused) {
  mailboxfile_c good;
  makemailbox(good, 1);
  std::string goodbytes = readwhole(mbx);
  struct {
    const char* what;
    size_t offset;
    char value;
  } cases[] = {{"magic RLBX", 3, 'X'}, {"magic rLB", 0, 'r'}, {"version 2", 262, 2}, {"revision 1", 260, 1}};
  for (const auto& c : cases) {
    std::string bytes = goodbytes;
    bytes[c.offset] = c.value;
    std::string bad = scratch.file("bad.rlb");
    ASSERT_TRUE(writewhole(bad, bytes));
    mailboxfile_c f;
    ASSERT_EQ(1, f.open(mbx.c_str()));
    EXPECT_EQ(0, f.open(bad.c_str())) << c.what;
    EXPECT_STREQ("John Doe@ravelink", f.header.mailboxname) << "the previous header stays";
    EXPECT_EQ(bad, std::string(f.path));
  }
}

// Mend: a file shorter than the header is never accepted, even when the bytes it has are a valid
// beginning of a header (magic, revision and version all lie in its first 264 bytes).
TEST_F(MailboxFile, ShortFileIsRefused) {
  mailboxheader h;
  initheader(&h, "short");
  for (size_t size : {size_t(0), size_t(264), size_t(300), size_t(651)}) {
    std::string bytes(reinterpret_cast<const char*>(&h), size);
    ASSERT_TRUE(writewhole(mbx, bytes));
    mailboxfile_c f;
    EXPECT_EQ(0, f.open(mbx.c_str())) << size << " bytes";
  }
  std::string whole(reinterpret_cast<const char*>(&h), sizeof h);
  ASSERT_TRUE(writewhole(mbx, whole));
  mailboxfile_c f;
  EXPECT_EQ(1, f.open(mbx.c_str()));
}

TEST_F(MailboxFile, MissingFileFailsAtOnce) {
  mailboxfile_c f;
  std::string missing = scratch.file("none.rlb");
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(0, f.open(missing.c_str()));
  eventrecord r = makeevent("x");
  EXPECT_EQ(0, f.readevent(&r, 1));
  EXPECT_EQ(0, f.addevent(&r));
  EXPECT_EQ(0, f.isfree(1));
  EXPECT_EQ(0, f.firstevent(&r));
  EXPECT_LT(GetTickCount64() - start, 5000u) << "a missing file is not waited for";
  EXPECT_EQ(-1, filesize(missing)) << "never created";
}

// Mend: moving freehint writes only its 4 bytes, so a header the administration changed after
// this object's open (name, owner, password) is not reverted.
TEST_F(MailboxFile, FreehintWriteKeepsOthersHeaderChanges) {
  mailboxfile_c f;
  makemailbox(f, 3);
  ASSERT_EQ(1, f.open(mbx.c_str()));

  mailboxheader admin;
  ASSERT_TRUE(peekfile(mbx, 0, &admin, sizeof admin));
  setfield(admin.mailboxname, "Renamed@ravelink");
  setfield(admin.loginname, "newowner");
  setfield(admin.password, "secret");
  ASSERT_TRUE(patchfile(mbx, 0, &admin, sizeof admin));

  EXPECT_EQ(1, f.freeevent(2));
  eventrecord r = makeevent("x");
  EXPECT_EQ(2, f.addevent(&r));
  EXPECT_EQ(4, f.addevent(&r));

  mailboxheader now;
  ASSERT_TRUE(peekfile(mbx, 0, &now, sizeof now));
  EXPECT_STREQ("Renamed@ravelink", now.mailboxname);
  EXPECT_STREQ("newowner", now.loginname);
  EXPECT_STREQ("secret", now.password);
  EXPECT_EQ(4u, now.freehint);
}

// The free-slot search starts at the hint on disk, which another party may have lowered.
TEST_F(MailboxFile, FreehintIsTakenFromTheFile) {
  mailboxfile_c a, b;
  makemailbox(a, 4);
  ASSERT_EQ(1, b.open(mbx.c_str()));
  EXPECT_EQ(1, a.freeevent(1));
  eventrecord r = makeevent("by b");
  EXPECT_EQ(1, b.addevent(&r)) << "b's copy said 4, the file says 1";
}

TEST_F(MailboxFile, ThirtyTwoAttachmentsRoundTrip) {
  mailboxfile_c f;
  makemailbox(f, 0);
  eventrecord r = makeevent("many");
  r.attachcount = 32;
  for (int i = 0; i < 32; ++i) snprintf(r.attachments[i].name, sizeof r.attachments[i].name, "%08X.tif", 0x100 + i);
  ASSERT_EQ(1, f.addevent(&r));
  char last[16];
  ASSERT_TRUE(peekfile(mbx, 652 + 1268 - 16, last, sizeof last));
  EXPECT_STREQ("0000011F.tif", last);
  eventrecord back;
  ASSERT_EQ(1, f.readevent(&back, 1));
  EXPECT_EQ(0, memcmp(&r, &back, sizeof r));
}

TEST_F(MailboxFile, AddRefusesARecordMarkedFree) {
  mailboxfile_c f;
  makemailbox(f, 1);
  eventrecord r = makeevent("x");
  r.slotstate = SLOT_FREE;
  EXPECT_EQ(0, f.addevent(&r));
  EXPECT_EQ(1920, filesize(mbx));
}

// Outside a batch every operation opens and closes the file; a batch opens it once, exclusively.
TEST_F(MailboxFile, BatchOpensOnce) {
  mailboxfile_c f;
  makemailbox(f, 10);
  ASSERT_EQ(1, f.open(mbx.c_str()));
  uint32_t before = f.openings;
  eventrecord r;
  int n = 0;
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) ++n;
  EXPECT_EQ(10, n);
  EXPECT_EQ(before + 11, f.openings) << "ten events and the end, one opening each";
  EXPECT_EQ(0, f.isopen());

  before = f.openings;
  f.setkeepopen(1);
  n = 0;
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
    ++n;
    if (s % 3 == 0) f.freeevent(s);
  }
  eventrecord e = makeevent("added in batch");
  EXPECT_EQ(3, f.addevent(&e));
  EXPECT_EQ(1, f.updateevent(&e, 4));
  EXPECT_EQ(1, f.isopen());
  // Nobody else gets in while the batch holds the file, not even a reader.
  HANDLE other = CreateFileA(mbx.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(INVALID_HANDLE_VALUE, other);
  EXPECT_EQ(ERROR_SHARING_VIOLATION, GetLastError());
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  f.setkeepopen(0);
  EXPECT_EQ(10, n);
  EXPECT_EQ(before + 1, f.openings) << "one batch, one opening";
  EXPECT_EQ(0, f.isopen());
  other = CreateFileA(mbx.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, other) << "switching the batch off lets go of the file";
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  EXPECT_EQ("added in batch", subjectat(f, 3));
  EXPECT_EQ("added in batch", subjectat(f, 4));
  EXPECT_EQ("<none>", subjectat(f, 6));
}

// Reads inside a batch come from the read-ahead block; they must see the batch's own writes.
TEST_F(MailboxFile, BatchReadsSeeTheBatchsWrites) {
  mailboxfile_c f;
  makemailbox(f, 50);
  f.setkeepopen(1);
  eventrecord r;
  ASSERT_EQ(1, f.firstevent(&r));  // fills the block
  eventrecord e = makeevent("rewritten");
  ASSERT_EQ(1, f.updateevent(&e, 40));
  ASSERT_EQ(1, f.freeevent(41));
  eventrecord extra = makeevent("new at the end");
  ASSERT_EQ(41, f.addevent(&extra));
  ASSERT_EQ(51, f.addevent(&extra));
  EXPECT_EQ("rewritten", subjectat(f, 40));
  EXPECT_EQ("new at the end", subjectat(f, 51));
  int last = 0, count = 0;
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
    last = s;
    ++count;
  }
  EXPECT_EQ(51, last);
  EXPECT_EQ(51, count);
  f.setkeepopen(0);
  // And the file itself holds them.
  char subject[16] = {};
  ASSERT_TRUE(peekfile(mbx, slotoffset(40) + 16, subject, 9));
  EXPECT_STREQ("rewritten", subject);
  EXPECT_EQ(652 + 51 * 1268, filesize(mbx));
}

TEST_F(MailboxFile, OpenOnAnotherFileEndsABatch) {
  mailboxfile_c f;
  makemailbox(f, 1);
  std::string other = scratch.file("other.rlb");
  mailboxfile_c g;
  ASSERT_EQ(1, g.create(other.c_str(), "Personal Mailbox"));
  f.setkeepopen(1);
  eventrecord r;
  ASSERT_EQ(1, f.firstevent(&r));
  ASSERT_EQ(1, f.isopen());
  ASSERT_EQ(1, f.open(other.c_str()));
  EXPECT_STREQ("Personal Mailbox", f.header.mailboxname);
  EXPECT_EQ(0, f.firstevent(&r)) << "the other file's slots, not the batch's";
  HANDLE h = CreateFileA(mbx.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, h) << "the first file is let go";
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

}  // namespace
