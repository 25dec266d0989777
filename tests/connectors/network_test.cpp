#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/connectors/connectorkit.h"
#include "tests/support/msgboxcatcher.h"
#include "toolkit/path.h"

using namespace cgwtest;

namespace {

const char* const description = "Ravelink for Virerure Client Connector Interface Version 6.1.61";

class Network : public ::testing::Test {
protected:
  void SetUp() override {
    root = store.file("root");
    CreateDirectoryA(root.c_str(), nullptr);
    ASSERT_TRUE(makeusermailbox(root + "\\anna", "Anna", "Anna Berg@ravelink", "s3cret"));
    ASSERT_TRUE(makeusermailbox(root + "\\clerk", "CLERK", "Front Desk", ""));
    CreateDirectoryA((root + "\\nombox").c_str(), nullptr);
    setting.set(root.c_str());
    docs = store.file("docs");
    CreateDirectoryA(docs.c_str(), nullptr);
    offer = docs + "\\offer.tif";
    terms = docs + "\\terms.doc";
    gone = docs + "\\gone.pdf";
    ASSERT_TRUE(writewhole(offer, std::string(3000, 'T')));
    ASSERT_TRUE(writewhole(terms, "terms of delivery"));
  }

  std::string annabox() const { return root + "\\anna\\mailbox.rlb"; }
  std::string annadir() const { return root + "\\anna"; }

  // Logs on as Anna through her Windows account.
  void logonanna(connector_c& c) {
    windowsuser_c user("anna");
    ASSERT_EQ(c.x.logonex(0, nullptr, nullptr, 0), 0);
  }

  scratchdir_c store;
  mailboxsetting_c setting;
  std::string root, docs;
  std::string offer, terms, gone;  // attachment paths: the records point into them
};

cgwmessage message(const std::vector<cgwrecipient>& to, const std::vector<cgwattachment>& attach, uint32_t flags) {
  cgwmessage m = {};
  m.flags = flags;
  m.recipientcount = static_cast<uint32_t>(to.size());
  m.recipients = to.empty() ? nullptr : to.data();
  m.attachmentcount = static_cast<uint32_t>(attach.size());
  m.attachments = attach.empty() ? nullptr : attach.data();
  return m;
}

// The record keeps a pointer to the text: path must outlive it.
cgwattachment attachment(const std::string& path) {
  cgwattachment a = {};
  a.path = path.c_str();
  return a;
}

}  // namespace

TEST_F(Network, ExportsByOrdinalAndName) {
  connector_c c(siblingpath("Ravelink.cgw"));
  ASSERT_NE(c.module, nullptr);
  static const struct {
    int ordinal;
    const char* name;
  } table[] = {{10, "cgwGetCaps"},  {11, "cgwGetInfo"},     {12, "cgwLogon"},         {13, "cgwLogonEx"},
               {14, "cgwLogoff"},   {15, "cgwSendMessage"}, {16, "cgwSendMessageEx"}, {17, "cgwAddressBook"}};
  for (const auto& e : table) {
    FARPROC byordinal = GetProcAddress(c.module, MAKEINTRESOURCEA(e.ordinal));
    EXPECT_NE(byordinal, nullptr) << e.name;
    EXPECT_EQ(byordinal, GetProcAddress(c.module, e.name)) << e.name;
  }
  // cgwLogon and cgwSendMessage are one entry.
  EXPECT_EQ(GetProcAddress(c.module, MAKEINTRESOURCEA(12)), GetProcAddress(c.module, MAKEINTRESOURCEA(15)));
  EXPECT_EQ(c.x.logon(1, 2), 0);
  EXPECT_EQ(c.x.sendmessage(1, 2), 0);
  EXPECT_EQ(c.x.logoff(7), 0);
}

#if defined(__i386__)
namespace {
// Calls fn with n dummy arguments through a pointer that does not know the convention and
// returns how far the stack pointer moved: 0 when the callee removed exactly its arguments.
int stackdrift(void* fn, int n) {
  int count = n;
  __asm__ volatile(
      "movl %%esp, %%edi\n\t"
      "1: pushl $0\n\t"
      "loop 1b\n\t"
      "call *%%eax\n\t"
      "movl %%esp, %%ecx\n\t"
      "subl %%edi, %%ecx\n\t"
      "movl %%edi, %%esp\n\t"
      : "+c"(count), "+a"(fn)
      :
      : "edx", "edi", "memory", "cc");
  return count;
}
}  // namespace
#endif

TEST_F(Network, StdcallStackDiscipline) {
#if defined(__i386__)
  connector_c c(siblingpath("Ravelink.cgw"));
  ASSERT_NE(c.module, nullptr);
  // Only exports that are harmless with zero arguments: caps 0, info with a null record, the stubs.
  static const struct {
    int ordinal;
    int args;
  } table[] = {{10, 1}, {11, 1}, {12, 2}, {14, 1}, {15, 2}, {17, 3}};
  for (const auto& e : table)
    EXPECT_EQ(stackdrift(reinterpret_cast<void*>(GetProcAddress(c.module, MAKEINTRESOURCEA(e.ordinal))), e.args), 0)
        << "ordinal " << e.ordinal;
#else
  GTEST_SKIP() << "the stack discipline of __stdcall is a 32-bit matter; this build is 64-bit";
#endif
}

TEST_F(Network, CapabilitiesWithAndWithoutAddressBook) {
  {
    connector_c c(siblingpath("Ravelink.cgw"));  // the stand-in address book lies next to it
    const int32_t expected[] = {0, 1, 0, 0, 1, 1, 0, 0, 0, 0};
    for (int n = 0; n <= 9; ++n) EXPECT_EQ(c.x.getcaps(n), expected[n]) << n;
    EXPECT_EQ(c.x.getcaps(-1), 0);
    EXPECT_EQ(c.x.getcaps(1000), 0);
  }
  // A copy of the connector alone in a folder has no address book: capability 5 is 0.
  std::string alone = store.file("alone");
  CreateDirectoryA(alone.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(siblingpath("Ravelink.cgw").c_str(), (alone + "\\Ravelink.cgw").c_str(), FALSE));
  connector_c c(alone + "\\Ravelink.cgw");
  ASSERT_NE(c.module, nullptr);
  EXPECT_EQ(c.x.getcaps(5), 0);
  EXPECT_EQ(c.x.getcaps(1), 1);
}

TEST_F(Network, InfoBeforeAndAfterLogon) {
  connector_c c(siblingpath("Ravelink.cgw"));
  cgwinfo info;
  memset(&info, 0x5A, sizeof info);
  EXPECT_EQ(c.x.getinfo(&info), 0);
  EXPECT_EQ(info.reserved, 0x5A5A5A5Au);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(info.name[i], 0) << i;
  EXPECT_EQ(info.name[31], 0x5A);  // the last byte stays as the host set it
  EXPECT_STREQ(info.description, description);
  for (size_t i = strlen(description); i < 255; ++i) ASSERT_EQ(info.description[i], 0) << i;
  EXPECT_EQ(info.description[255], 0x5A);
  EXPECT_EQ(c.x.getinfo(nullptr), 0);

  logonanna(c);
  cgwinfo after = {};
  c.x.getinfo(&after);
  EXPECT_STREQ(after.name, "for Virerure - Anna");
}

TEST_F(Network, LogonFailures) {
  msgboxcatcher_c boxes(IDOK);
  ASSERT_TRUE(boxes.installed());
  windowsuser_c user("anna");
  {
    // No Mailbox key: 2, no message, name "for Virerure".
    setting.set(nullptr);
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.logonex(0, "anna", "s3cret", 0), 2);
    EXPECT_TRUE(boxes.boxes.empty());
    cgwinfo info = {};
    c.x.getinfo(&info);
    EXPECT_STREQ(info.name, "for Virerure");
  }
  {
    // Root missing: message 1 with the stop icon.
    setting.set(store.file("nowhere").c_str());
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.logonex(0, nullptr, nullptr, 0), 2);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Could not connect to Ravelink. Please contact your Network Administrator or reinstall the client.");
    EXPECT_EQ(boxes.boxes[0].caption, "Ravelink");
    EXPECT_TRUE(boxes.boxes[0].stopicon);
  }
  {
    // User not found: message 2, plain.
    setting.set(root.c_str());
    windowsuser_c stranger("zoe");
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.logonex(0, "anna", "s3cret", 0), 2);  // the arguments are not tried
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text,
              "Your user name was not found in the Ravelink mailbox directory.\r\nPlease contact your Network "
              "Administrator.");
    EXPECT_FALSE(boxes.boxes[1].stopicon);
    cgwinfo info = {};
    c.x.getinfo(&info);
    EXPECT_STREQ(info.name, "for Virerure");
  }
}

TEST_F(Network, WindowsUserDecidesIgnoringCase) {
  windowsuser_c user("clerk");  // the mailbox says CLERK
  connector_c c(siblingpath("Ravelink.cgw"));
  EXPECT_EQ(c.x.logonex(0, "anna", "wrong", 0), 0);
  cgwinfo info = {};
  c.x.getinfo(&info);
  EXPECT_STREQ(info.name, "for Virerure - CLERK");
}

TEST_F(Network, ArgumentsWhenThereIsNoWindowsUser) {
  if (!windowsuser_c::works()) GTEST_SKIP() << "the account name cannot be chosen on this system";
  msgboxcatcher_c boxes(IDOK);
  windowsuser_c nobody("");
  static const struct {
    const char* name;
    const char* password;
    int32_t result;
  } cases[] = {
      {"anna", "s3cret", 0}, {"ANNA", "s3cret", 0}, {"anna", "S3CRET", 2}, {"anna", "s3cre", 2},
      {"anna", "s3crets", 2}, {"anna", nullptr, 2}, {"clerk", nullptr, 0},  {"clerk", "", 0},
      {nullptr, nullptr, 2},  {"nombox", "", 2},
  };
  for (const auto& k : cases) {
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.logonex(0, k.name, k.password, 0), k.result)
        << (k.name ? k.name : "(null)") << " / " << (k.password ? k.password : "(null)");
  }
}

TEST_F(Network, SubmissionWritesOneEventPerRecipientWithItsOwnFiles) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  std::vector<cgwrecipient> to = {
      recipient("Carl", "Dorn", "+49 30 1234", "Dorn & Sons", "Sales", "carl@dorn.example", "+49 30 1200"),
      recipient("Anna", "", "555-0101"),
      recipient("", "Lindqvist", "555-0102", std::string(255, 'C').c_str()),
  };
  std::vector<cgwattachment> attach = {attachment(offer), attachment(terms)};
  cgwmessage m = message(to, attach, CGW_HIGHRES | CGW_SUBJECT | CGW_BODY | CGW_COVERPAGE);
  m.subject = "Offer 2026/17";
  m.body = "Dear customer,\r\nplease find our offer attached.";
  m.coverpage = "standard";

  SYSTEMTIME before, after;
  GetLocalTime(&before);
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);
  GetLocalTime(&after);

  auto ev = events(annabox());
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(files(annadir(), "tif").size(), 3u);
  EXPECT_EQ(files(annadir(), "doc").size(), 3u);
  EXPECT_EQ(files(annadir(), "FRP").size(), 3u);
  EXPECT_EQ(files(annadir(), "BDY").size(), 3u);

  const char* names[] = {"Carl Dorn", "Anna", "Lindqvist"};
  std::vector<std::string> seen;
  for (size_t i = 0; i < ev.size(); ++i) {
    const eventrecord& e = ev[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(e.slotstate, 0);
    EXPECT_EQ(e.state, EVS_PENDING);
    EXPECT_EQ(e.aux, 0);
    EXPECT_EQ(e.flags, static_cast<uint32_t>(EV_HIGHRES | EV_BODY | EV_COVERPAGE | EV_RECIPFILE));
    EXPECT_TRUE(e.minute == before.wMinute || e.minute == after.wMinute);
    EXPECT_EQ(e.year, before.wYear);
    EXPECT_EQ(e.month, before.wMonth);
    EXPECT_EQ(text(e.subject, 256), "Offer 2026/17");
    EXPECT_EQ(text(e.coverpage, 64), "standard");
    EXPECT_EQ(text(e.sendername, 64), "Anna");
    EXPECT_EQ(text(e.senderaddress, 64), "Anna Berg@ravelink");
    EXPECT_EQ(text(e.recipientname, 64), names[i]);
    EXPECT_EQ(text(e.recipientaddress, 64), std::string(to[i].faxno));
    ASSERT_EQ(e.attachcount, 2);
    for (int a = 0; a < 2; ++a) {
      std::string name = text(e.attachments[a].name, 16);
      EXPECT_EQ(name.size(), 12u);
      EXPECT_EQ(readwhole(annadir() + "\\" + name), readwhole(attach[a].path)) << name;
      seen.push_back(name);
    }
    EXPECT_EQ(readwhole(annadir() + "\\" + text(e.bodyfile, 16)), m.body);
    seen.push_back(text(e.bodyfile, 16));
    seen.push_back(text(e.recipientfile, 16));

    std::string frp = readwhole(annadir() + "\\" + text(e.recipientfile, 16));
    ASSERT_EQ(frp.size(), sizeof(recipientdetails));
    recipientdetails d;
    memcpy(&d, frp.data(), sizeof d);
    EXPECT_EQ(text(d.firstname, 64), std::string(to[i].firstname));
    EXPECT_EQ(text(d.lastname, 64), std::string(to[i].lastname));
    EXPECT_EQ(text(d.faxno, 64), std::string(to[i].faxno));
    EXPECT_EQ(text(d.company, 256), std::string(to[i].company).substr(0, 254));
    EXPECT_EQ(text(d.department, 64), std::string(to[i].department));
    EXPECT_EQ(text(d.email, 64), std::string(to[i].email));
    EXPECT_EQ(text(d.voice, 64), std::string(to[i].voice));
    for (uint8_t b : d.reserved) EXPECT_EQ(b, 0);
    // Unused space stays zero: the record is built from nothing but the message.
    for (int a = 2; a < 32; ++a)
      for (char ch : e.attachments[a].name) ASSERT_EQ(ch, 0);
  }
  // Nothing is shared between the events of one message.
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
}

TEST_F(Network, FlagsWithoutTheirTexts) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  std::vector<cgwrecipient> to = {recipient("", "", "555-0199")};
  cgwmessage m = message(to, {}, CGW_SUBJECT | CGW_BODY | CGW_COVERPAGE);
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);
  auto ev = events(annabox());
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(text(ev[0].subject, 256), "");
  EXPECT_EQ(text(ev[0].coverpage, 64), "");
  EXPECT_EQ(text(ev[0].recipientname, 64), "");
  EXPECT_TRUE(ev[0].flags & EV_BODY);
  EXPECT_EQ(text(ev[0].bodyfile, 16), "");
  EXPECT_TRUE(files(annadir(), "BDY").empty());
  EXPECT_EQ(ev[0].attachcount, 0);
}

TEST_F(Network, TextsAreCutAndCallerFieldsReadOnlyWithinThemselves) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  cgwrecipient r = recipient("", "", "");
  memset(r.faxno, '7', sizeof r.faxno);        // no terminator: 64 digits
  memset(r.firstname, 'F', sizeof r.firstname);
  memset(r.lastname, 'L', sizeof r.lastname);
  std::vector<cgwrecipient> to = {r, recipient("Kim", "", std::string(70, '9').substr(0, 63).c_str())};
  std::string subject(300, 's');
  cgwmessage m = message(to, {}, CGW_SUBJECT);
  m.subject = subject.c_str();
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);
  auto ev = events(annabox());
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(text(ev[0].recipientaddress, 64), std::string(62, '7'));
  EXPECT_EQ(text(ev[0].recipientname, 64), std::string(62, 'F'));
  EXPECT_EQ(text(ev[0].subject, 256), std::string(254, 's'));
  EXPECT_EQ(text(ev[1].recipientaddress, 64), std::string(62, '9'));
  std::string frp = readwhole(annadir() + "\\" + text(ev[0].recipientfile, 16));
  ASSERT_EQ(frp.size(), sizeof(recipientdetails));
  recipientdetails d;
  memcpy(&d, frp.data(), sizeof d);
  EXPECT_EQ(text(d.faxno, 64), std::string(62, '7'));
  EXPECT_EQ(d.faxno[62], 0);
  EXPECT_EQ(d.faxno[63], 0);
}

TEST_F(Network, MissingSecondAttachmentStopsBeforeTheEvent) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  std::vector<cgwrecipient> to = {recipient("Carl", "Dorn", "1"), recipient("Eva", "Ek", "2")};
  std::vector<cgwattachment> attach = {attachment(offer), attachment(gone)};
  cgwmessage m = message(to, attach, 0);
  EXPECT_EQ(c.x.sendmessageex(0, &m), 10);
  EXPECT_TRUE(events(annabox()).empty());
  EXPECT_EQ(files(annadir(), "tif").size(), 1u);  // only the first recipient's first copy
  EXPECT_TRUE(files(annadir(), "pdf").empty());
}

TEST_F(Network, AttachmentsMustBeExistingFiles) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  std::vector<cgwrecipient> to = {recipient("Carl", "Dorn", "1")};
  std::string wildcard = docs + "\\*.tif";
  for (const std::string* path : {&docs, &wildcard, &gone}) {
    std::vector<cgwattachment> attach = {attachment(*path)};
    cgwmessage m = message(to, attach, 0);
    EXPECT_EQ(c.x.sendmessageex(0, &m), 10) << *path;
  }
  cgwattachment none = {};
  cgwmessage m = message(to, {none}, 0);
  EXPECT_EQ(c.x.sendmessageex(0, &m), 10);
  EXPECT_TRUE(events(annabox()).empty());
}

TEST_F(Network, RefusedBeforeAnythingIsWritten) {
  connector_c c(siblingpath("Ravelink.cgw"));
  std::vector<cgwrecipient> to = {recipient("Carl", "Dorn", "1")};
  {
    cgwmessage m = message({}, {}, 0);
    EXPECT_EQ(c.x.sendmessageex(0, &m), 13);
    EXPECT_EQ(c.x.sendmessageex(0, nullptr), 13);
  }
  {
    // Not logged on: no mailbox, and nothing may land anywhere else.
    std::vector<cgwattachment> attach = {attachment(offer)};
    cgwmessage m = message(to, attach, CGW_BODY);
    m.body = "x";
    EXPECT_EQ(c.x.sendmessageex(0, &m), 4);
  }
  logonanna(c);
  std::string longext = docs + "\\scan.tiffany";
  ASSERT_TRUE(writewhole(longext, "x"));
  std::vector<cgwattachment> many(33, attachment(terms));
  static const struct {
    const char* what;
    std::vector<cgwattachment> attach;
    int32_t result;
  } cases[] = {
      {"33 attachments", many, 9},
      {"an extension of 7 letters", {attachment(offer), attachment(longext)}, 9},
  };
  for (const auto& k : cases) {
    cgwmessage m = message(to, k.attach, 0);
    EXPECT_EQ(c.x.sendmessageex(0, &m), k.result) << k.what;
  }
  EXPECT_TRUE(events(annabox()).empty());
  EXPECT_TRUE(files(annadir(), "*").size() == 1u);  // mailbox.rlb alone

  // 32 attachments fill the table to the end of the record.
  std::vector<cgwattachment> full(32, attachment(terms));
  cgwmessage m = message(to, full, 0);
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);
  auto ev = events(annabox());
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].attachcount, 32);
  EXPECT_EQ(text(ev[0].attachments[31].name, 16).size(), 12u);
  EXPECT_EQ(files(annadir(), "doc").size(), 32u);
}

TEST_F(Network, SendTimeInTheUsersLocale) {
  connector_c c(siblingpath("Ravelink.cgw"));
  logonanna(c);
  SYSTEMTIME when = {};
  when.wYear = 2027;
  when.wMonth = 3;
  when.wDay = 14;
  when.wHour = 16;
  when.wMinute = 45;
  char date[64], clock[64];
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, sizeof date), 0);
  ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, clock, sizeof clock), 0);
  std::string good = std::string(date) + " " + clock;

  std::vector<cgwrecipient> to = {recipient("Carl", "Dorn", "1")};
  cgwmessage m = message(to, {}, CGW_SENDTIME);
  m.sendtime = good.c_str();
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);
  m.sendtime = "next tuesday, maybe";
  ASSERT_EQ(c.x.sendmessageex(0, &m), 0);

  auto ev = events(annabox());
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0].flags & EV_SCHEDULED, static_cast<uint32_t>(EV_SCHEDULED));
  EXPECT_EQ(ev[0].day, 14);
  EXPECT_EQ(ev[0].month, 3);
  EXPECT_EQ(ev[0].year, 2027);
  EXPECT_EQ(ev[0].hour, 16);
  EXPECT_EQ(ev[0].minute, 45);
  EXPECT_EQ(ev[1].day, 255);
  EXPECT_EQ(ev[1].month, 255);
  EXPECT_EQ(ev[1].year, 65535);
  EXPECT_EQ(ev[1].hour, 255);
  EXPECT_EQ(ev[1].minute, 255);
}

TEST_F(Network, ReaderSeesAWholeMessageOrNothing) {
  // cgwhost submits 12 events in one batch while this process reads the mailbox in its own
  // batches: every read sees 0 or 12 events, never a part.
  std::string big = docs + "\\big.tif";
  ASSERT_TRUE(writewhole(big, std::string(512 * 1024, 'B')));
  std::string cmd = "\"" + siblingpath("cgwhost.exe") + "\" \"" + siblingpath("Ravelink.cgw") + "\" --logon ~ ~ --subject batch";
  for (int i = 0; i < 12; ++i) cmd += " --to \"R|" + std::to_string(i) + "||" + std::to_string(1000 + i) + "\"";
  cmd += " --attach \"" + big + "\"";

  // A new process takes the account it runs under: give that account a mailbox.
  char me[256] = "";
  DWORD mesize = sizeof me;
  ASSERT_TRUE(GetUserNameA(me, &mesize));
  ASSERT_TRUE(makeusermailbox(root + "\\me", me, "Me", ""));
  std::string mybox = root + "\\me\\mailbox.rlb";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back(0);
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  std::vector<size_t> counts;
  for (;;) {
    bool ended = WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
    counts.push_back(events(mybox).size());
    if (ended) break;
  }
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u);
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.back(), 12u);
  for (size_t n : counts) EXPECT_TRUE(n == 0 || n == 12) << n;
  printf("reads during the submission: %zu\n", counts.size());
}
