// A writer is killed while it holds a batch. The processes that were waiting for the file carry on
// once it is gone, and every record anyone reads afterwards is whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mailstore/mailboxfile.h"
#include "tests/mailstore/storeresults.h"
#include "tests/mailstore/storetestkit.h"
#include "tests/support/testsupport.h"

using namespace storetest;

namespace {

const int OTHERS = 3;
const int EACH = 40;
const int VICTIM = 9;

TEST(KilledWriter, OthersCarryOnAndRecordsStayWhole) {
  scratchdir_c scratch;
  std::string mbx = scratch.file("mailbox.rlb");
  std::string helper = siblingpath("storehelper.exe");
  mailboxfile_c f;
  ASSERT_EQ(1, f.create(mbx.c_str(), "Shared@ravelink"));
  for (int n = 0; n < 10; ++n) {
    eventrecord r = stampedevent(0, n);
    ASSERT_GT(f.addevent(&r), 0);
  }

  // The victim takes the file in a batch that never ends and keeps adding inside it.
  child_c victim;
  namedevent_c holding("holding");
  ASSERT_TRUE(victim.start(helper, "holdforever " + quote(mbx) + " " + std::to_string(VICTIM) + " " + holding.name));
  ASSERT_TRUE(holding.wait(20000));

  // The others start while it holds the file: their first operations wait.
  namedevent_c go("go");
  std::vector<std::unique_ptr<child_c>> others;
  for (int w = 1; w <= OTHERS; ++w) {
    others.emplace_back(new child_c);
    ASSERT_TRUE(others.back()->start(helper, "writer " + quote(mbx) + " " + std::to_string(w) + " " +
                                                 std::to_string(EACH) + " " +
                                                 quote(scratch.file("w" + std::to_string(w) + ".txt")) + " " + go.name));
  }
  go.set();
  // Kill once every other writer has begun its first operation and waits for the file.
  for (int w = 1; w <= OTHERS; ++w) {
    std::string started = scratch.file("w" + std::to_string(w) + ".txt.started");
    for (int i = 0; i < 600 && GetFileAttributesA(started.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  }
  Sleep(500);
  ULONGLONG killedat = GetTickCount64();
  victim.kill();
  EXPECT_EQ(99, victim.wait(10000));

  // This process waits like the others, then reads.
  eventrecord r;
  int first = f.readevent(&r, 1);
  printf("reader got in %llu ms after the kill\n", GetTickCount64() - killedat);
  EXPECT_EQ(1, first);
  for (int w = 1; w <= OTHERS; ++w) EXPECT_EQ(0, others[w - 1]->wait(120000)) << "writer " << w;

  std::map<std::pair<int, int>, int> present;
  int broken = 0, records = 0, byvictim = 0;
  f.setkeepopen(1);
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
    ++records;
    int w, n;
    if (!checkstamp(r, &w, &n)) {
      ++broken;
      continue;
    }
    if (w == VICTIM) ++byvictim;
    present[{w, n}]++;
  }
  f.setkeepopen(0);

  int missing = 0, duplicated = 0;
  long long maxms = 0, failed = 0;
  for (int w = 1; w <= OTHERS; ++w) {
    results_c res;
    ASSERT_TRUE(res.load(scratch.file("w" + std::to_string(w) + ".txt")));
    EXPECT_EQ(EACH, res.get("added")) << "writer " << w;
    failed += res.get("failed");
    if (res.get("maxms") > maxms) maxms = res.get("maxms");
    for (int n = 0; n < EACH; ++n) {
      int times = present.count({w, n}) ? present[{w, n}] : 0;
      if (times == 0) ++missing;
      if (times > 1) ++duplicated;
    }
  }
  for (int n = 0; n < 10; ++n)
    if (present[{0, n}] != 1) ++missing;
  printf("killed writer: %d of its records in the file; %d others x %d events added after it, longest wait %lld ms, "
         "%lld failed; %d records, %d broken, %d missing, %d duplicated\n",
         byvictim, OTHERS, EACH, maxms, failed, records, broken, missing, duplicated);
  EXPECT_GT(byvictim, 5) << "the victim had written inside its batch";
  EXPECT_EQ(0, broken);
  EXPECT_EQ(0, missing);
  EXPECT_EQ(0, duplicated);
  EXPECT_EQ(0, failed);
  EXPECT_GE(maxms, 400) << "the others waited for the victim (their first operation began before the kill)";
  EXPECT_EQ(0, (filesize(mbx) - 652) % 1268);
}

}  // namespace
