// Random sequences of slot operations, in and out of batches, against a model of the file: every
// result and, at the end, every byte of the file must be what the model says. This covers the
// read-ahead block of a batch, which must always equal the file.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "mailstore/mailboxfile.h"
#include "tests/mailstore/storetestkit.h"
#include "tests/support/testsupport.h"

using namespace storetest;

namespace {

struct model_c {
  std::vector<eventrecord> slots;  // slot n at [n - 1]
  uint32_t freehint = 1;

  int findfree() {
    size_t n = freehint ? freehint : 1;
    if (n > slots.size() + 1) n = slots.size() + 1;
    while (n <= slots.size() && slots[n - 1].slotstate != SLOT_FREE) ++n;
    freehint = static_cast<uint32_t>(n);
    return static_cast<int>(n);
  }
  int add(const eventrecord& r) {
    int n = findfree();
    if (n > static_cast<int>(slots.size())) slots.resize(n);
    slots[n - 1] = r;
    return n;
  }
  bool inuse(int n) const { return n >= 1 && n <= static_cast<int>(slots.size()) && slots[n - 1].slotstate == 0; }
  bool exists(int n) const { return n >= 1 && n <= static_cast<int>(slots.size()); }
};

void runsequence(unsigned seed, int steps) {
  scratchdir_c scratch;
  std::string mbx = scratch.file("mailbox.rlb");
  mailboxfile_c f;
  ASSERT_EQ(1, f.create(mbx.c_str(), "Model"));
  model_c m;
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  int counter = 0;
  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
    int top = static_cast<int>(m.slots.size()) + 3;
    int op = pick(100);
    if (op < 6) {
      f.setkeepopen(pick(3) != 0);  // mostly inside batches: each operation outside one opens the file
    } else if (op < 35) {
      eventrecord r = stampedevent(seed % 100, counter++);
      int n = pick(40) == 0 ? 0 : 1;  // now and then a batch of many adds
      for (int k = 0; k < (n ? 1 : 25); ++k) {
        r = stampedevent(seed % 100, counter++);
        ASSERT_EQ(m.add(r), f.addevent(&r));
      }
    } else if (op < 50) {
      int slot = 1 + pick(top);
      eventrecord r = stampedevent(seed % 100, counter++);
      int expected = m.exists(slot) ? 1 : 0;
      ASSERT_EQ(expected, f.updateevent(&r, slot)) << slot;
      if (expected) m.slots[slot - 1] = r;
    } else if (op < 65) {
      int slot = 1 + pick(top);
      int expected = m.exists(slot) ? 1 : 0;
      ASSERT_EQ(expected, f.freeevent(slot)) << slot;
      if (expected) {
        m.slots[slot - 1].slotstate = SLOT_FREE;
        if (static_cast<uint32_t>(slot) < m.freehint) m.freehint = slot;
      }
    } else if (op < 80) {
      int slot = 1 + pick(top);
      eventrecord r;
      int got = f.readevent(&r, slot);
      ASSERT_EQ(m.inuse(slot) ? 1 : 0, got) << slot;
      if (got) {
        ASSERT_EQ(0, memcmp(&r, &m.slots[slot - 1], sizeof r)) << slot;
      }
      ASSERT_EQ(m.inuse(slot) ? 0 : 1, f.isfree(slot)) << slot;
    } else if (op < 85 || f.keepopen) {
      eventrecord r;
      int expect = 0;
      for (int s = f.firstevent(&r); s > 0; s = f.nextevent(&r)) {
        do ++expect;
        while (expect <= static_cast<int>(m.slots.size()) && !m.inuse(expect));
        ASSERT_EQ(expect, s);
        ASSERT_EQ(0, memcmp(&r, &m.slots[s - 1], sizeof r)) << s;
      }
      do ++expect;
      while (expect <= static_cast<int>(m.slots.size()) && !m.inuse(expect));
      ASSERT_GT(expect, static_cast<int>(m.slots.size())) << "the enumeration ended early";
    } else {
      // Outside a batch one step of the enumeration from a random cursor (a whole pass would open
      // the file once per slot).
      eventrecord r;
      int from = pick(top);
      f.cursor = from;
      int expect = from + 1;
      while (expect <= static_cast<int>(m.slots.size()) && !m.inuse(expect)) ++expect;
      if (expect > static_cast<int>(m.slots.size())) expect = 0;
      int s = f.nextevent(&r);
      ASSERT_EQ(expect, s) << "from " << from;
      if (s) {
        ASSERT_EQ(0, memcmp(&r, &m.slots[s - 1], sizeof r)) << s;
      }
    }
  }
  f.setkeepopen(0);
  std::string bytes = readwhole(mbx);
  ASSERT_EQ(652 + m.slots.size() * 1268, bytes.size());
  mailboxheader h;
  memcpy(&h, bytes.data(), sizeof h);
  EXPECT_EQ(m.freehint, h.freehint);
  for (size_t i = 0; i < m.slots.size(); ++i)
    ASSERT_EQ(0, memcmp(bytes.data() + 652 + i * 1268, &m.slots[i], 1268)) << "slot " << i + 1;
}

TEST(Model, RandomOperationsMatchTheModel) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    runsequence(seed, 1200);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
