// The fax server's stand-in and the demo data program, run as real processes on a scratch mailbox
// root: the states an outgoing fax goes through, the failure rule, route requests, received faxes
// with their TIFF document, what it never touches, names that would lead out of the mailbox
// directory, stopping, being killed; and the demo root with every state in both directions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "tests/support/testsupport.h"
#include "tests/support/usermailbox.h"

namespace {

// ---- processes ----------------------------------------------------------------------------------

// A program of this build started with a command line; its stdout and stderr go to a file.
class program_c {
public:
  program_c(const std::string& name, const std::string& arguments, const std::string& outfile) : out(outfile) {
    memset(&info, 0, sizeof info);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string exe = siblingpath(name);
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = file;
    startup.hStdError = file;
    started = CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info) != 0;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  ~program_c() {
    if (info.hProcess) {
      if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  program_c(const program_c&) = delete;
  program_c& operator=(const program_c&) = delete;

  // The exit code, or -1 when it did not end within ms.
  long wait(DWORD ms) {
    if (!started || WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
  }
  void kill() {
    if (started) TerminateProcess(info.hProcess, 99);
    wait(10000);
  }
  // What it printed, with its line ends as plain '\n'.
  std::string output() const {
    std::string text = readwhole(out);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
  }

  bool started = false;

private:
  std::string out;
  PROCESS_INFORMATION info;
};

std::string quote(const std::string& text) { return "\"" + text + "\""; }

// ---- mailboxes --------------------------------------------------------------------------------

std::vector<std::pair<int, eventrecord>> slots(const std::string& mailbox) {
  std::vector<std::pair<int, eventrecord>> out;
  mailboxfile_c f;
  if (!f.open(mailbox.c_str())) return out;
  f.setkeepopen(1);
  eventrecord r;
  for (int slot = f.firstevent(&r); slot; slot = f.nextevent(&r)) out.push_back({slot, r});
  f.setkeepopen(0);
  return out;
}

eventrecord readslot(const std::string& mailbox, int slot) {
  eventrecord r;
  memset(&r, 0xEE, sizeof r);
  mailboxfile_c f;
  if (f.open(mailbox.c_str())) f.readevent(&r, slot);
  return r;
}

std::string text(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }
#define FIELD(r, f) text((r).f, sizeof (r).f)

eventrecord outgoing(const char* number, uint8_t state = EVS_PENDING, uint32_t flags = 0) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.flags = flags;
  r.state = state;
  r.day = 14;
  r.month = 5;
  r.year = 2024;
  r.hour = 10;
  r.minute = 41;
  setfield(r.subject, "Order 5521");
  setfield(r.sendername, "jdoe");
  setfield(r.senderaddress, "John Doe@ravelink");
  setfield(r.recipientname, "Marco Rossi");
  setfield(r.recipientaddress, number);
  return r;
}

int add(const std::string& mailbox, const eventrecord& r) {
  mailboxfile_c f;
  if (!f.open(mailbox.c_str())) return 0;
  return f.addevent(&r);
}

// A side file written straight into a directory, for records that name it.
bool sidefile(const std::string& dir, const std::string& name, const std::string& bytes) {
  return writewhole(dir + "\\" + name, bytes);
}

std::string details(const char* faxno) {
  recipientdetails d;
  memset(&d, 0, sizeof d);
  setfield(d.firstname, "Marco");
  setfield(d.lastname, "Rossi");
  setfield(d.faxno, faxno);
  return std::string(reinterpret_cast<const char*>(&d), sizeof d);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A root with two users, as the fax server's administration sets it up.
class FaxSim : public ::testing::Test {
protected:
  void SetUp() override {
    root = scratch.file("root");
    CreateDirectoryA(root.c_str(), nullptr);
    jdoedir = root + "\\jdoe";
    asmithdir = root + "\\asmith";
    ASSERT_TRUE(makeusermailbox(jdoedir, "jdoe", "John Doe@ravelink"));
    ASSERT_TRUE(makeusermailbox(asmithdir, "asmith", "Anna Smith@ravelink"));
    jdoe = jdoedir + "\\mailbox.rlb";
    asmith = asmithdir + "\\mailbox.rlb";
  }

  // Runs faxsim on the root to its end: the exit code; its output goes to lastoutput.
  long faxsim(const std::string& arguments) {
    program_c p("faxsim.exe", quote(root) + " " + arguments, scratch.file("faxsim.out"));
    long code = p.wait(60000);
    lastoutput = p.output();
    return code;
  }

  scratchdir_c scratch;
  std::string root, jdoedir, asmithdir, jdoe, asmith, lastoutput;
};

// ---- outgoing faxes -----------------------------------------------------------------------------

TEST_F(FaxSim, PendingGoesQueuedWorkingThenSentOrFailedByTheNumber) {
  ASSERT_TRUE(sidefile(jdoedir, "00000001.FRP", details("+39 02 7788 1213")));
  ASSERT_TRUE(sidefile(jdoedir, "00000002.FRP", details("+39 02 7788 1200")));
  ASSERT_TRUE(sidefile(root, "evil.FRP", details("+39 02 7788 1213")));
  struct row {
    const char* what;
    const char* number;
    const char* frp;   // recipient details file named by the record, or null
    uint8_t final;
  };
  const row rows[] = {
      {"plain number", "+49 30 1234567", nullptr, EVS_SENT},
      {"number ends in the digits", "+49 30 1234513", nullptr, EVS_FAILED},
      {"digits end so only without separators", "+49 30 12345-1 3", nullptr, EVS_FAILED},
      {"13 inside, not at the end", "+49 13 1234567", nullptr, EVS_SENT},
      {"details file's number fails", "+49 30 1234567", "00000001.FRP", EVS_FAILED},
      {"details file's number wins", "+49 30 1234513", "00000002.FRP", EVS_SENT},
      {"details file missing: the record's number", "+49 30 1234513", "0000000F.FRP", EVS_FAILED},
      {"details name leads outside: not read", "+49 30 1234567", "..\\evil.FRP", EVS_SENT},
  };
  std::vector<int> slot;
  for (const row& r : rows) {
    eventrecord e = outgoing(r.number, EVS_PENDING, r.frp ? uint32_t{EV_RECIPFILE} : 0u);
    if (r.frp) setfield(e.recipientfile, r.frp);
    slot.push_back(add(jdoe, e));
    ASSERT_GT(slot.back(), 0);
  }

  const uint8_t expected[3] = {EVS_QUEUED, EVS_WORKING, 0};
  for (int pass = 0; pass < 3; ++pass) {
    ASSERT_EQ(0, faxsim("--once --fail-suffix 13")) << lastoutput;
    for (size_t i = 0; i < slot.size(); ++i) {
      uint8_t want = pass < 2 ? expected[pass] : rows[i].final;
      EXPECT_EQ(want, readslot(jdoe, slot[i]).state) << rows[i].what << ", pass " << pass + 1;
    }
    if (pass == 0) {
      EXPECT_NE(std::string::npos, lastoutput.find("queued jdoe slot 1\n")) << lastoutput;
    }
  }
  EXPECT_NE(std::string::npos, lastoutput.find("sent jdoe slot 1\n")) << lastoutput;
  EXPECT_NE(std::string::npos, lastoutput.find("failed jdoe slot 2")) << lastoutput;
  // Only the state changed: the record is otherwise the one the connector wrote.
  eventrecord now = readslot(jdoe, slot[0]);
  eventrecord before = outgoing(rows[0].number);
  now.state = EVS_PENDING;
  EXPECT_EQ(0, memcmp(&now, &before, sizeof now));
}

TEST_F(FaxSim, WithoutTheRuleEverythingIsSentAndStepsChains) {
  int a = add(jdoe, outgoing("+49 30 1234513"));
  int b = add(asmith, outgoing("+49 30 7654321"));
  ASSERT_EQ(0, faxsim("--once --steps 3 --log " + quote(scratch.file("faxsim.log"))));
  EXPECT_EQ(EVS_SENT, readslot(jdoe, a).state);
  EXPECT_EQ(EVS_SENT, readslot(asmith, b).state);
  // The log holds the same lines as the output.
  std::string logged = readwhole(scratch.file("faxsim.log"));
  logged.erase(std::remove(logged.begin(), logged.end(), '\r'), logged.end());
  EXPECT_EQ(lastoutput, logged);
  EXPECT_EQ(6, std::count(lastoutput.begin(), lastoutput.end(), '\n')) << lastoutput;
}

TEST_F(FaxSim, LeavesEveryOtherEventAlone) {
  std::vector<eventrecord> records;
  for (uint8_t s : {EVS_SENT, EVS_UNREAD, EVS_READ, EVS_FAILED, EVS_CANCELLED})
    records.push_back(outgoing("+49 30 1234567", s));
  // Incoming events are the user's whatever their state.
  for (uint8_t s = 0; s < EVS_COUNT; ++s) records.push_back(outgoing("+49 30 1234567", s, EV_INCOMING));
  // A route request that is already done, and a state no table knows.
  records.push_back(outgoing("Anna Smith@ravelink", EVS_SENT, EV_ROUTE));
  records.push_back(outgoing("+49 30 1234567", 9));
  // A requested send time still ahead: taken into the queue, then it waits there.
  eventrecord later = outgoing("+49 30 1234567", EVS_PENDING, EV_SCHEDULED);
  later.year = 2099;
  records.push_back(later);
  std::vector<int> slot;
  for (const eventrecord& r : records) slot.push_back(add(jdoe, r));

  ASSERT_EQ(0, faxsim("--once --steps 4"));
  for (size_t i = 0; i + 1 < records.size(); ++i) {
    eventrecord now = readslot(jdoe, slot[i]);
    EXPECT_EQ(0, memcmp(&now, &records[i], sizeof now)) << "record " << i << " state " << int(records[i].state);
  }
  EXPECT_EQ(EVS_QUEUED, readslot(jdoe, slot.back()).state);
  EXPECT_EQ(0u, slots(asmith).size());
}

TEST_F(FaxSim, SendTimeInThePastOrUnreadableIsNotWaitedFor) {
  eventrecord past = outgoing("+49 30 1234567", EVS_PENDING, EV_SCHEDULED);
  past.year = 2001;
  eventrecord unreadable = outgoing("+49 30 1234567", EVS_PENDING, EV_SCHEDULED);
  unreadable.day = unreadable.month = unreadable.hour = unreadable.minute = 255;
  unreadable.year = 65535;
  int a = add(jdoe, past), b = add(jdoe, unreadable);
  ASSERT_EQ(0, faxsim("--once --steps 3"));
  EXPECT_EQ(EVS_SENT, readslot(jdoe, a).state);
  EXPECT_EQ(EVS_SENT, readslot(jdoe, b).state);
}

// ---- route requests ----------------------------------------------------------------------------

// jdoe's route request to target with a body and two documents (and an empty entry between them).
eventrecord routerequest(const char* target) {
  eventrecord r = outgoing(target, EVS_PENDING, EV_ROUTE | EV_BODY | EV_HIGHRES);
  setfield(r.sendername, "John Doe@ravelink");
  setfield(r.recipientname, "Anna Smith");
  setfield(r.subject, "Delivery note 4471");
  setfield(r.bodyfile, "BDY00000.BDY");
  setfield(r.attachments[0].name, "0000A001.tif");
  setfield(r.attachments[2].name, "0000A002.doc");
  r.attachcount = 3;
  r.aux = 0x5C;
  return r;
}

TEST_F(FaxSim, RouteRequestDeliversACopyWithItsSideFiles) {
  ASSERT_TRUE(sidefile(jdoedir, "BDY00000.BDY", "For you, Anna."));
  ASSERT_TRUE(sidefile(jdoedir, "0000A001.tif", std::string("II*\0 first document", 19)));
  ASSERT_TRUE(sidefile(jdoedir, "0000A002.doc", "second document"));
  eventrecord request = routerequest("anna smith@RAVELINK");   // names compare without letter case
  int slot = add(jdoe, request);
  ASSERT_EQ(0, faxsim("--once"));

  eventrecord done = readslot(jdoe, slot);
  EXPECT_EQ(EVS_SENT, done.state);
  done.state = EVS_PENDING;
  EXPECT_EQ(0, memcmp(&done, &request, sizeof done)) << "only the request's state changes";

  auto got = slots(asmith);
  ASSERT_EQ(1u, got.size());
  const eventrecord& copy = got[0].second;
  EXPECT_EQ(EVS_UNREAD, copy.state);
  EXPECT_EQ(static_cast<uint32_t>(EV_INCOMING | EV_BODY | EV_HIGHRES), copy.flags);
  EXPECT_EQ(0x5C, copy.aux);
  EXPECT_EQ("John Doe@ravelink", FIELD(copy, sendername));
  EXPECT_EQ("John Doe@ravelink", FIELD(copy, senderaddress));
  EXPECT_EQ("Delivery note 4471", FIELD(copy, subject));
  EXPECT_EQ(0u, eventproblems(copy));
  // Fresh copies in the target's directory, same contents, the empty entry still empty.
  ASSERT_EQ(3, copy.attachcount);
  EXPECT_EQ("For you, Anna.", readwhole(asmithdir + "\\" + FIELD(copy, bodyfile)));
  EXPECT_EQ(std::string("II*\0 first document", 19), readwhole(asmithdir + "\\" + FIELD(copy, attachments[0].name)));
  EXPECT_EQ("", FIELD(copy, attachments[1].name));
  EXPECT_EQ("second document", readwhole(asmithdir + "\\" + FIELD(copy, attachments[2].name)));
  EXPECT_NE(std::string::npos, FIELD(copy, attachments[2].name).find(".doc"));
  EXPECT_NE(std::string::npos, lastoutput.find("routed jdoe slot 1 to asmith slot 1\n")) << lastoutput;
  // The request keeps its own files.
  EXPECT_TRUE(exists(jdoedir + "\\0000A001.tif"));

  // Done is done: another pass delivers nothing more.
  ASSERT_EQ(0, faxsim("--once"));
  EXPECT_EQ(1u, slots(asmith).size());
}

TEST_F(FaxSim, RouteRequestThatCannotBeCarriedOutFails) {
  ASSERT_TRUE(sidefile(jdoedir, "BDY00000.BDY", "For you, Anna."));
  ASSERT_TRUE(sidefile(jdoedir, "0000A001.tif", "first"));
  ASSERT_TRUE(sidefile(jdoedir, "0000A002.doc", "second"));
  // What a name leading out of the directory would reach.
  ASSERT_TRUE(sidefile(root, "x.tif", "OUTSIDE"));
  ASSERT_TRUE(sidefile(root, "b.BDY", "OUTSIDE"));
  struct row {
    const char* what;
    const char* target;
    const char* body;
    const char* attachment;
  };
  const row rows[] = {
      {"unknown target", "Nobody@ravelink", "BDY00000.BDY", "0000A001.tif"},
      {"empty target", "", "BDY00000.BDY", "0000A001.tif"},
      {"attachment leads outside", "Anna Smith@ravelink", "BDY00000.BDY", "..\\x.tif"},
      {"attachment with a drive", "Anna Smith@ravelink", "BDY00000.BDY", "C:x.tif"},
      {"body leads outside", "Anna Smith@ravelink", "..\\b.BDY", "0000A001.tif"},
      {"attachment missing", "Anna Smith@ravelink", "BDY00000.BDY", "0000A0FF.tif"},
  };
  std::vector<int> slot;
  for (const row& r : rows) {
    eventrecord e = routerequest(r.target);
    setfield(e.bodyfile, r.body);
    setfield(e.attachments[0].name, r.attachment);
    slot.push_back(add(jdoe, e));
  }
  ASSERT_EQ(0, faxsim("--once"));
  for (size_t i = 0; i < slot.size(); ++i) EXPECT_EQ(EVS_FAILED, readslot(jdoe, slot[i]).state) << rows[i].what;
  EXPECT_EQ(0u, slots(asmith).size());
  EXPECT_EQ(slot.size(), slots(jdoe).size());
  // Nothing was copied into the target's directory (copies made before a failure go again).
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((asmithdir + "\\*").c_str(), &fd);
  std::vector<std::string> names;
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  EXPECT_EQ(std::vector<std::string>{"mailbox.rlb"}, names);
  EXPECT_NE(std::string::npos, lastoutput.find("no mailbox named \"Nobody@ravelink\"")) << lastoutput;
}

// ---- received faxes ----------------------------------------------------------------------------

uint32_t le(const std::string& b, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

// Checks a file as a one-page bilevel TIFF and unpacks its image: the problem, or "" when valid.
std::string checktiff(const std::string& b, uint32_t* width, uint32_t* height) {
  if (b.size() < 8 || b.compare(0, 4, std::string("II*\0", 4)) != 0) return "no little-endian TIFF header";
  uint32_t ifd = le(b, 4, 4);
  if (ifd < 8 || ifd + 2 > b.size()) return "IFD outside the file";
  uint32_t count = le(b, ifd, 2);
  if (ifd + 2 + count * 12 + 4 > b.size()) return "IFD runs past the end";
  std::map<uint32_t, uint32_t> tag;
  uint32_t previous = 0;
  for (uint32_t i = 0; i < count; ++i) {
    size_t e = ifd + 2 + i * 12;
    uint32_t t = le(b, e, 2), type = le(b, e + 2, 2), n = le(b, e + 4, 4);
    if (t <= previous) return "tags out of order";
    previous = t;
    if (n != 1) return "a tag with more than one value";
    tag[t] = type == 3 ? le(b, e + 8, 2) : le(b, e + 8, 4);
  }
  if (le(b, ifd + 2 + count * 12, 4) != 0) return "more than one page";
  for (uint32_t t : {256u, 257u, 259u, 262u, 273u, 279u, 282u, 283u})
    if (!tag.count(t)) return "tag " + std::to_string(t) + " missing";
  if (tag.count(258) && tag[258] != 1) return "not one bit per pixel";
  if (tag[262] > 1) return "not bilevel";
  if (tag.count(278) && tag[278] < tag[257]) return "more than one strip";
  for (uint32_t t : {282u, 283u})
    if (tag[t] + 8 > b.size() || le(b, tag[t] + 4, 4) == 0) return "resolution outside the file";
  uint32_t offset = tag[273], size = tag[279];
  if (offset + size > b.size() || offset + size < offset) return "strip outside the file";
  *width = tag[256];
  *height = tag[257];
  size_t want = static_cast<size_t>((*width + 7) / 8) * *height, got = 0;
  if (tag[259] == 1) {
    got = size;
  } else if (tag[259] == 32773) {
    for (size_t p = offset; p < offset + size;) {
      int8_t c = static_cast<int8_t>(b[p++]);
      if (c >= 0) {
        got += c + 1;
        p += c + 1;
      } else if (c != -128) {
        got += 1 - c;
        p += 1;
      }
    }
  } else {
    return "compression " + std::to_string(tag[259]);
  }
  return got == want ? "" : "image data does not fill the page";
}

TEST_F(FaxSim, DeliverAddsUnreadFaxesWithATiffDocument) {
  ASSERT_EQ(0, faxsim("--deliver ASMITH 2 --once"));   // the account name is found in any letter case
  auto got = slots(asmith);
  ASSERT_EQ(2u, got.size());
  EXPECT_NE(std::string::npos, lastoutput.find("delivered asmith slot 1\n")) << lastoutput;
  std::string first;
  for (auto& [slot, r] : got) {
    EXPECT_EQ(static_cast<uint32_t>(EV_INCOMING), r.flags);
    EXPECT_EQ(EVS_UNREAD, r.state);
    EXPECT_EQ(0u, eventproblems(r));
    EXPECT_FALSE(FIELD(r, senderaddress).empty());
    ASSERT_EQ(1, r.attachcount);
    std::string name = FIELD(r, attachments[0].name);
    EXPECT_EQ(".tif", name.substr(name.size() - 4));
    std::string bytes = readwhole(asmithdir + "\\" + name);
    uint32_t width = 0, height = 0;
    EXPECT_EQ("", checktiff(bytes, &width, &height)) << name;
    EXPECT_EQ(1728u, width);
    EXPECT_GT(height, 100u);
    if (first.empty()) first = bytes;
    else EXPECT_NE(first, bytes) << "every fax its own page";
  }
  EXPECT_EQ(0u, slots(jdoe).size());

  // Nobody of that name: nothing added, an error.
  EXPECT_EQ(1, faxsim("--deliver nobody --once"));
  EXPECT_EQ(2u, slots(asmith).size());
}

// ---- the command line, running on, being killed --------------------------------------------------

TEST_F(FaxSim, BadCommandLinesAndRootsAreRefused) {
  struct row {
    const char* arguments;
    long code;
  };
  const row rows[] = {
      {"--once --fail-suffix 1x", 2}, {"--once --every 5", 2},      {"--once --steps 0", 2},
      {"--once --bogus", 2},          {"--deliver", 2},             {"--once --deliver jdoe 0", 2},
      {"--once --until-file", 2},
  };
  for (const row& r : rows) EXPECT_EQ(r.code, faxsim(r.arguments)) << r.arguments;
  program_c noroot("faxsim.exe", quote(scratch.file("missing")) + " --once", scratch.file("noroot.out"));
  EXPECT_EQ(1, noroot.wait(30000));
  program_c nothing("faxsim.exe", "", scratch.file("nothing.out"));
  EXPECT_EQ(2, nothing.wait(30000));
}

TEST_F(FaxSim, RunsOnUntilTheUntilFileAppears) {
  int slot = add(jdoe, outgoing("+49 30 1234567"));
  std::string stop = scratch.file("stop");
  program_c running("faxsim.exe", quote(root) + " --every 100 --until-file " + quote(stop), scratch.file("run.out"));
  ASSERT_TRUE(running.started);
  // It keeps making passes: the fax gets to its end on its own.
  for (int i = 0; i < 200 && readslot(jdoe, slot).state != EVS_SENT; ++i) Sleep(50);
  EXPECT_EQ(EVS_SENT, readslot(jdoe, slot).state);
  EXPECT_EQ(-1, running.wait(300)) << "still running";
  ASSERT_TRUE(writewhole(stop, ""));
  EXPECT_EQ(0, running.wait(5000));

  // An until-file that is there from the start: no pass at all.
  int second = add(jdoe, outgoing("+49 30 1234567"));
  ASSERT_EQ(0, faxsim("--every 100 --until-file " + quote(stop)));
  EXPECT_EQ(EVS_PENDING, readslot(jdoe, second).state);
}

TEST_F(FaxSim, KilledAtAnyMomentLeavesOnlyWholeRecords) {
  for (int i = 0; i < 30; ++i) add(jdoe, outgoing(i % 2 ? "+49 30 1234513" : "+49 30 1234567"));
  for (int round = 0; round < 12; ++round) {
    program_c p("faxsim.exe", quote(root) + " --every 10 --fail-suffix 13 --deliver jdoe 20",
                scratch.file("kill.out"));
    ASSERT_TRUE(p.started);
    Sleep(20 + (round * 37) % 120);
    p.kill();
  }
  std::string bytes = readwhole(jdoe);
  ASSERT_GE(bytes.size(), sizeof(mailboxheader));
  EXPECT_EQ(0u, (bytes.size() - sizeof(mailboxheader)) % sizeof(eventrecord)) << "a slot written in part";
  auto got = slots(jdoe);
  EXPECT_GE(got.size(), 30u);
  for (auto& [slot, r] : got) {
    EXPECT_EQ(0u, eventproblems(r)) << "slot " << slot;
    if (r.flags & EV_INCOMING) {
      EXPECT_EQ(EVS_UNREAD, r.state) << "slot " << slot;
      // A received fax's record comes only after its document.
      EXPECT_TRUE(exists(jdoedir + "\\" + FIELD(r, attachments[0].name))) << slot;
    } else {
      EXPECT_TRUE(r.state == EVS_PENDING || r.state == EVS_QUEUED || r.state == EVS_WORKING || r.state == EVS_SENT ||
                  r.state == EVS_FAILED)
          << "slot " << slot << " state " << int(r.state);
    }
  }
}

// ---- demo data ---------------------------------------------------------------------------------

// RIROVEVI.INI's mailbox root and the personal folder value, put back when the test ends.
class demosettings_c {
public:
  demosettings_c() {
    char old[600];
    GetPrivateProfileStringA("Directories", "Mailbox", "\x01", old, sizeof old, "RIROVEVI.INI");
    hadroot = strcmp(old, "\x01") != 0;
    root = old;
    DWORD size = sizeof old;
    hadfolder = RegGetValueA(HKEY_CURRENT_USER, KEY, "Demo Archive", RRF_RT_REG_SZ, nullptr, old, &size) == 0;
    if (hadfolder) folder = old;
  }
  ~demosettings_c() {
    WritePrivateProfileStringA("Directories", "Mailbox", hadroot ? root.c_str() : nullptr, "RIROVEVI.INI");
    if (hadfolder) {
      RegSetKeyValueA(HKEY_CURRENT_USER, KEY, "Demo Archive", REG_SZ, folder.c_str(),
                      static_cast<DWORD>(folder.size() + 1));
    } else {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, KEY, "Demo Archive");
    }
  }
  static constexpr const char* KEY = "Software\\Tavikon\\Virerure Client 7.00\\Personal Folders";

private:
  bool hadroot = false, hadfolder = false;
  std::string root, folder;
};

// Every side file a record names exists next to its mailbox file.
void expectsidefiles(const std::string& dir, const eventrecord& r, int slot) {
  if (r.flags & EV_BODY) {
    EXPECT_TRUE(exists(dir + "\\" + FIELD(r, bodyfile))) << dir << " slot " << slot;
  }
  if (r.flags & EV_RECIPFILE) {
    std::string frp = readwhole(dir + "\\" + FIELD(r, recipientfile));
    EXPECT_EQ(sizeof(recipientdetails), frp.size()) << dir << " slot " << slot;
  }
  for (int i = 0; i < attachmentcount(r); ++i) {
    std::string name = FIELD(r, attachments[i].name);
    if (!name.empty()) {
      EXPECT_TRUE(exists(dir + "\\" + name)) << dir << " slot " << slot << " " << name;
    }
  }
}

TEST(DemoData, MakesEveryStateInBothDirectionsWithItsSideFiles) {
  demosettings_c keep;
  scratchdir_c scratch;
  std::string root = scratch.file("demo");
  program_c demo("demodata.exe", quote(root) + " demouser", scratch.file("demo.out"));
  ASSERT_EQ(0, demo.wait(60000)) << demo.output();
  EXPECT_EQ(root + "\n", demo.output().substr(0, root.size() + 1));

  // Every mailbox below the root is valid and every side file it names is there.
  std::map<std::string, std::vector<std::pair<int, eventrecord>>> boxes;
  for (const char* user : {"demouser", "jdoe", "asmith", "mrossi"}) {
    std::string dir = root + "\\" + user;
    mailboxfile_c f;
    ASSERT_EQ(1, f.open((dir + "\\mailbox.rlb").c_str())) << user;
    EXPECT_EQ(std::string(user), FIELD(f.header, loginname));
    boxes[user] = slots(dir + "\\mailbox.rlb");
    for (auto& [slot, r] : boxes[user]) {
      EXPECT_EQ(0u, eventproblems(r)) << user << " slot " << slot;
      expectsidefiles(dir, r, slot);
    }
  }
  // The user's own mailbox: all eight states in the Inbox and in the Outbox, with bodies,
  // recipient details, documents, and a route request to another user's mailbox.
  int states[2][EVS_COUNT] = {};
  int bodies = 0, details = 0, documents = 0, routes = 0;
  for (auto& [slot, r] : boxes["demouser"]) {
    ASSERT_LT(r.state, EVS_COUNT);
    states[r.flags & EV_INCOMING ? 1 : 0][r.state]++;
    bodies += (r.flags & EV_BODY) ? 1 : 0;
    details += (r.flags & EV_RECIPFILE) ? 1 : 0;
    documents += attachmentcount(r);
    if (r.flags & EV_ROUTE) {
      ++routes;
      EXPECT_EQ("John Doe@ravelink", FIELD(r, recipientaddress));
    }
  }
  for (int box = 0; box < 2; ++box)
    for (int s = 0; s < EVS_COUNT; ++s) EXPECT_GT(states[box][s], 0) << (box ? "Inbox " : "Outbox ") << s;
  EXPECT_GT(bodies, 3);
  EXPECT_GT(details, 3);
  EXPECT_GT(documents, 10);
  EXPECT_EQ(1, routes);
  EXPECT_TRUE(boxes["mrossi"].empty());

  // The personal folder: registered where the folder tree reads it, a mailbox file of its own.
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder;
  ASSERT_EQ(0, RegGetValueA(HKEY_CURRENT_USER, demosettings_c::KEY, "Demo Archive", RRF_RT_REG_SZ, nullptr, folder,
                            &size));
  mailboxfile_c personal;
  ASSERT_EQ(1, personal.open((std::string(folder) + "\\mailbox.rlb").c_str())) << folder;
  EXPECT_EQ("Personal Mailbox", FIELD(personal.header, mailboxname));
  auto kept = slots(std::string(folder) + "\\mailbox.rlb");
  EXPECT_EQ(2u, kept.size());
  for (auto& [slot, r] : kept) expectsidefiles(folder, r, slot);

  // RIROVEVI.INI points at the root.
  char configured[600] = "";
  GetPrivateProfileStringA("Directories", "Mailbox", "", configured, sizeof configured, "RIROVEVI.INI");
  EXPECT_EQ(root, std::string(configured));

  // The fax server's stand-in carries out the route request of the demo.
  program_c sim("faxsim.exe", quote(root) + " --once", scratch.file("sim.out"));
  ASSERT_EQ(0, sim.wait(60000));
  EXPECT_NE(std::string::npos, sim.output().find("routed demouser slot")) << sim.output();
  EXPECT_EQ(boxes["jdoe"].size() + 1, slots(root + "\\jdoe\\mailbox.rlb").size());
}

TEST(DemoData, TheWindowsUserIsTheDefaultAccount) {
  demosettings_c keep;
  scratchdir_c scratch;
  char user[256] = "";
  DWORD size = sizeof user;
  ASSERT_TRUE(GetUserNameA(user, &size));
  program_c demo("demodata.exe", quote(scratch.file("demo")), scratch.file("demo.out"));
  ASSERT_EQ(0, demo.wait(60000)) << demo.output();
  mailboxfile_c f;
  ASSERT_EQ(1, f.open(scratch.file(std::string("demo\\") + user + "\\mailbox.rlb").c_str())) << demo.output();
  EXPECT_EQ(std::string(user), FIELD(f.header, loginname));
  EXPECT_EQ(std::string(user) + "@ravelink", FIELD(f.header, mailboxname));
}

}  // namespace
