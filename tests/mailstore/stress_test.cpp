// Eight processes add events to one mailbox at once, each its own marked events with a checksum
// in the subject, while a ninth enumerates in batches and frees every event whose number is a
// multiple of 5. At the end every event added and not freed is there exactly once, every record is
// whole, and no operation failed before its retry time was used up.
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

const int WRITERS = 8;
const int EACH = 400;

TEST(Stress, EightWritersAndAnEnumerator) {
  scratchdir_c scratch;
  std::string mbx = scratch.file("mailbox.rlb");
  std::string helper = siblingpath("storehelper.exe");
  mailboxfile_c f;
  ASSERT_EQ(1, f.create(mbx.c_str(), "Shared@ravelink"));

  namedevent_c go("go"), stop("stop");
  child_c enumerator;
  std::string enumresult = scratch.file("enum.txt");
  ASSERT_TRUE(enumerator.start(helper, "enumfree " + quote(mbx) + " " + stop.name + " " + quote(enumresult)));
  std::vector<std::unique_ptr<child_c>> writers;
  for (int w = 1; w <= WRITERS; ++w) {
    writers.emplace_back(new child_c);
    std::string result = scratch.file("writer" + std::to_string(w) + ".txt");
    ASSERT_TRUE(writers.back()->start(helper, "writer " + quote(mbx) + " " + std::to_string(w) + " " +
                                                  std::to_string(EACH) + " " + quote(result) + " " + go.name));
  }
  Sleep(500);  // let every writer reach the start line
  ULONGLONG start = GetTickCount64();
  go.set();
  for (int w = 1; w <= WRITERS; ++w) EXPECT_EQ(0, writers[w - 1]->wait(300000)) << "writer " << w;
  ULONGLONG writing = GetTickCount64() - start;
  stop.set();
  EXPECT_EQ(0, enumerator.wait(60000)) << "the enumerator saw a broken record or a failed operation";

  // What the processes report.
  std::map<int, results_c> byw;
  long long added = 0, failed = 0, early = 0;
  for (int w = 1; w <= WRITERS; ++w) {
    ASSERT_TRUE(byw[w].load(scratch.file("writer" + std::to_string(w) + ".txt"))) << w;
    const results_c& r = byw[w];
    printf("writer %d: added %lld, failed %lld (before the retry time: %lld), longest add %lld ms, %lld openings, "
           "%lld failed attempts\n",
           w, r.get("added"), r.get("failed"), r.get("earlyfailures"), r.get("maxms"), r.get("openings"),
           r.get("failedattempts"));
    added += r.get("added");
    failed += r.get("failed");
    early += r.get("earlyfailures");
  }
  results_c en;
  ASSERT_TRUE(en.load(enumresult));
  printf("enumerator: %lld batches (%lld could not take the file), %lld records seen, %lld freed, %lld broken, %lld "
         "failed operations, longest batch %lld ms, %lld openings\n",
         en.get("passes"), en.get("openfailures"), en.get("seen"), en.get("freedcount"), en.get("bad"),
         en.get("failedops"), en.get("maxbatchms"), en.get("openings"));
  EXPECT_EQ(0, early) << "an operation failed while the retry time was not used up";
  EXPECT_EQ(0, en.get("bad"));
  EXPECT_EQ(0, en.get("failedops"));
  EXPECT_EQ(0, en.get("earlyopenfailures")) << "a batch failed to take the file before the retry time was used up";
  EXPECT_EQ(-1, en.get("batchopenings")) << "a batch opened the file more than once";
  EXPECT_EQ(0, en.freedtwice);
  EXPECT_EQ(en.get("passes") - en.get("openfailures") + 1, en.get("openings"))
      << "one opening for open, then one per batch";

  // What the file holds.
  std::map<std::pair<int, int>, int> present;
  int broken = 0, records = 0;
  eventrecord r;
  f.setkeepopen(1);
  for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
    ++records;
    int w, n;
    if (!checkstamp(r, &w, &n)) {
      ++broken;
      continue;
    }
    present[{w, n}]++;
  }
  f.setkeepopen(0);

  int missing = 0, duplicated = 0, notfreed = 0, unexpected = 0, expectedcount = 0;
  for (int w = 1; w <= WRITERS; ++w) {
    for (int n = 0; n < EACH; ++n) {
      if (byw[w].failedseqs.count(n)) {
        if (present.count({w, n})) ++unexpected;
        continue;
      }
      bool wasfreed = en.freed.count({w, n}) > 0;
      if (n % 5 == 0 && !wasfreed) ++notfreed;  // the last batch runs after all writers ended
      auto it = present.find({w, n});
      int times = it == present.end() ? 0 : it->second;
      if (wasfreed) {
        if (times) ++unexpected;
      } else {
        ++expectedcount;
        if (times == 0) ++missing;
        if (times > 1) ++duplicated;
      }
    }
  }
  for (const auto& p : present)
    if (p.first.first < 1 || p.first.first > WRITERS || p.first.second >= EACH) ++unexpected;
  int64_t slots = slotsinfile(filesize(mbx));
  printf("stress: %d writers x %d events in %llu ms: %lld added, %lld failed, %zu freed; the file holds %d events "
         "in %lld slots (%d expected): %d missing, %d duplicated, %d broken, %d unexpected, %d not freed\n",
         WRITERS, EACH, writing, added, failed, en.freed.size(), records, static_cast<long long>(slots),
         expectedcount, missing, duplicated, broken, unexpected, notfreed);
  EXPECT_EQ(WRITERS * EACH, added + failed);
  EXPECT_EQ(0, missing);
  EXPECT_EQ(0, duplicated);
  EXPECT_EQ(0, broken);
  EXPECT_EQ(0, unexpected);
  EXPECT_EQ(0, notfreed);
  EXPECT_EQ(expectedcount, records);
  EXPECT_EQ(0, (filesize(mbx) - 652) % 1268) << "no partial record at the end";
  EXPECT_LE(slots, WRITERS * EACH) << "freed slots were reused or never more slots than events";
}

}  // namespace
