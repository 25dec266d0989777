// Sharing the mailbox file between processes: the helper program holds it (as a batch or as a
// reader) while this process reads and writes; a batch is never seen half-written.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "mailstore/mailboxfile.h"
#include "tests/mailstore/storetestkit.h"
#include "tests/support/testsupport.h"

using namespace storetest;

namespace {

class Sharing : public ::testing::Test {
protected:
  scratchdir_c scratch;
  std::string mbx = scratch.file("mailbox.rlb");
  std::string helper = siblingpath("storehelper.exe");
  mailboxfile_c f;

  void SetUp() override {
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(helper.c_str())) << helper;
    ASSERT_EQ(1, f.create(mbx.c_str(), "John Doe@ravelink"));
    for (int i = 0; i < 3; ++i) {
      eventrecord r = makeevent("event");
      ASSERT_GT(f.addevent(&r), 0);
    }
  }
  // Starts the helper holding the file and waits until it does.
  void startholder(child_c& child, const char* mode, int ms) {
    namedevent_c ready("ready");
    ASSERT_TRUE(child.start(helper, std::string(mode) + " " + quote(mbx) + " " + std::to_string(ms) + " " + ready.name));
    ASSERT_TRUE(ready.wait(20000)) << "the helper did not take the file";
  }
};

TEST_F(Sharing, ReadSucceedsRightAfterTheHolderLetsGo) {
  child_c holder;
  startholder(holder, "hold", 1500);
  uint32_t failedbefore = f.failedattempts;
  ULONGLONG start = GetTickCount64();
  eventrecord r;
  EXPECT_EQ(1, f.readevent(&r, 2));
  ULONGLONG took = GetTickCount64() - start;
  printf("read waited %llu ms, %u failed attempts\n", took, f.failedattempts - failedbefore);
  EXPECT_GT(f.failedattempts - failedbefore, 0u) << "the file was held when the read began";
  EXPECT_LT(took, 9000u) << "the read got in once the holder was gone";
  EXPECT_EQ(0, holder.wait(10000));
}

TEST_F(Sharing, ReadFailsAfterTheRetryTimeWhenTheHolderKeepsIt) {
  child_c holder;
  startholder(holder, "hold", 30000);
  ULONGLONG start = GetTickCount64();
  eventrecord r;
  EXPECT_EQ(0, f.readevent(&r, 2));
  ULONGLONG took = GetTickCount64() - start;
  printf("read gave up after %llu ms, %u failed attempts\n", took, f.failedattempts);
  EXPECT_GE(took, 9900u);
  EXPECT_LT(took, 15000u);
  // 10 s of pauses of 50 to 99 ms.
  EXPECT_GE(f.failedattempts, 90u);
  EXPECT_LE(f.failedattempts, 202u);
  EXPECT_EQ(0, f.isopen());
  holder.kill();
  EXPECT_EQ(99, holder.wait(10000));
  EXPECT_EQ(1, f.readevent(&r, 2)) << "once the holder is gone the file opens at once";
}

TEST_F(Sharing, ReadersShareAndDenyWriters) {
  child_c reader;
  startholder(reader, "holdread", 2000);
  eventrecord r;
  uint32_t failedbefore = f.failedattempts;
  EXPECT_EQ(1, f.readevent(&r, 1));
  EXPECT_EQ(1, f.isfree(7));
  EXPECT_EQ(failedbefore, f.failedattempts) << "two readers at once";
  ULONGLONG start = GetTickCount64();
  eventrecord e = makeevent("after the reader");
  EXPECT_EQ(4, f.addevent(&e));
  printf("write waited %llu ms for the reader\n", GetTickCount64() - start);
  EXPECT_GT(f.failedattempts, failedbefore) << "the writer waited for the reader";
  EXPECT_EQ(0, reader.wait(10000));
}

// The helper rewrites slots 1..K in batches, first with "g=G half", then with "g=G done". A single
// read outside a batch may come between two batches but never inside one; a batch of reads sees
// all K slots of one generation, all done.
TEST_F(Sharing, NobodySeesAHalfWrittenBatch) {
  const int slots = 12, batches = 40;
  f.setkeepopen(1);
  for (int s = 4; s <= slots; ++s) {
    eventrecord r = makeevent("event");
    ASSERT_EQ(s, f.addevent(&r));
  }
  f.setkeepopen(0);

  child_c writer;
  namedevent_c ready("batch"), turn("turn");
  ASSERT_TRUE(writer.start(helper, "batchwriter " + quote(mbx) + " " + std::to_string(slots) + " " +
                                       std::to_string(batches) + " " + ready.name + " " + turn.name));
  ASSERT_TRUE(ready.wait(20000));

  int singlereads = 0, snapshots = 0, halfseen = 0, mixed = 0, failed = 0;
  int lastgen = 0;
  while (writer.wait(0) == -1) {
    eventrecord r;
    char subject[64];
    // One read on its own.
    int slot = 1 + (singlereads % slots);
    if (f.readevent(&r, slot)) {
      ++singlereads;
      fieldtext(r.subject, subject, sizeof subject);
      if (strstr(subject, "half")) ++halfseen;
    } else {
      ++failed;
    }
    // A batch of reads: all slots at once.
    f.setkeepopen(1);
    int gen = -1, count = 0;
    bool same = true;
    for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
      fieldtext(r.subject, subject, sizeof subject);
      int g = 0;
      if (strstr(subject, "half")) ++halfseen;
      if (sscanf(subject, "g=%d", &g) != 1) g = 0;
      if (gen == -1) gen = g;
      if (g != gen) same = false;
      ++count;
    }
    f.setkeepopen(0);
    if (count != slots) ++failed;
    if (!same) ++mixed;
    if (gen > lastgen) lastgen = gen;
    ++snapshots;
    turn.set();
  }
  printf("single reads %d, batch snapshots %d, highest generation seen %d; half records seen %d, mixed "
         "snapshots %d, failures %d\n",
         singlereads, snapshots, lastgen, halfseen, mixed, failed);
  EXPECT_EQ(0, writer.wait(1000));
  EXPECT_EQ(0, halfseen);
  EXPECT_EQ(0, mixed);
  EXPECT_EQ(0, failed);
  EXPECT_GT(snapshots, 5) << "the reader ran beside the writer";
  EXPECT_GT(lastgen, 1);
  eventrecord r;
  ASSERT_EQ(1, f.readevent(&r, slots));
  EXPECT_STREQ("g=40 done", r.subject);
}

}  // namespace
