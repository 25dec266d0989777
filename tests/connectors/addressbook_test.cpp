#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "connectors/addressbook.h"
#include "tests/connectors/connectorkit.h"

using namespace cgwtest;

namespace {

std::vector<cgwrecipient> picked;
std::vector<intptr_t> hostvalues;
int32_t hostanswer = 0;

int32_t CGWAPI hostcallback(const cgwrecipient* entry, intptr_t hostvalue) {
  picked.push_back(*entry);
  hostvalues.push_back(hostvalue);
  return hostanswer;
}

// The stand-in address book reads its script from the file RLADDRBK_SCRIPT names.
class AddressBook : public ::testing::Test {
protected:
  void SetUp() override {
    picked.clear();
    hostvalues.clear();
    hostanswer = 0;
    script = dir.file("book.txt");
    log = dir.file("book.log");
    SetEnvironmentVariableA("RLADDRBK_SCRIPT", script.c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("RLADDRBK_SCRIPT", nullptr); }
  void write(const std::string& lines) { ASSERT_TRUE(writewhole(script, "log=" + log + "\n" + lines)); }

  scratchdir_c dir;
  std::string script, log;
};

}  // namespace

TEST_F(AddressBook, PickedEntriesReachTheHost) {
  std::string eighty(80, '8');
  write("entry=Carl|Dorn|Dorn & Sons|Sales|+49 30 1200|+49 30 1234|carl@dorn.example\n"
        "entry=No|Fax|x|x|x|~|x\n"
        "entry=Empty|Fax|x|x|x||x\n"
        "entry=Blank|Fax|x|x|x|   \t |x\n"
        "entry=~|~|~|~|~|  " + eighty + "|~\n"
        "result=0\n");
  connector_c c(siblingpath("Ravelink.cgw"));
  ASSERT_NE(c.module, nullptr);
  EXPECT_EQ(c.x.addressbook(77, 4711, hostcallback), 0);
  ASSERT_EQ(picked.size(), 2u);
  EXPECT_EQ(hostvalues[0], 4711);
  const cgwrecipient& carl = picked[0];
  EXPECT_EQ(carl.reserved, 0u);
  EXPECT_STREQ(carl.firstname, "Carl");
  EXPECT_STREQ(carl.lastname, "Dorn");
  EXPECT_STREQ(carl.company, "Dorn & Sons");
  EXPECT_STREQ(carl.department, "Sales");
  EXPECT_STREQ(carl.voice, "+49 30 1200");
  EXPECT_STREQ(carl.faxno, "+49 30 1234");
  EXPECT_STREQ(carl.email, "carl@dorn.example");
  // 63 characters taken (two blanks and 61 digits), then trimmed.
  EXPECT_EQ(std::string(picked[1].faxno), std::string(61, '8'));
  EXPECT_STREQ(picked[1].firstname, "");

  // The library saw the title and the skipped entries' answer 1.
  std::string seen = readwhole(log);
  EXPECT_NE(seen.find("owner=77 title=Select Names"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("callback=1\r\ncallback=1\r\ncallback=1\r\n"), seen.find("callback=0\r\n") + 12) << seen;
}

TEST_F(AddressBook, LibraryResultsMapToCodes) {
  static const struct {
    int library;
    int32_t result;
  } cases[] = {{0, 0}, {-2, 5}, {-3, 7}, {-4, 6}, {-1, 1}, {1, 1}, {99, 1}};
  for (const auto& k : cases) {
    write("result=" + std::to_string(k.library) + "\n");
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.addressbook(0, 0, hostcallback), k.result) << k.library;
    EXPECT_EQ(addressbook_c::mapresult(k.library), k.result);
  }
}

TEST_F(AddressBook, HostAnswerGoesBackToTheLibrary) {
  hostanswer = 42;
  write("entry=A|B|C|D|E|123|F\n");
  connector_c c(siblingpath("Ravelink.cgw"));
  EXPECT_EQ(c.x.addressbook(0, 0, hostcallback), 0);
  EXPECT_NE(readwhole(log).find("callback=42"), std::string::npos);
}

TEST_F(AddressBook, WithoutCallbackOrLibrary) {
  write("entry=A|B|C|D|E|123|F\n");
  {
    connector_c c(siblingpath("Ravelink.cgw"));
    EXPECT_EQ(c.x.addressbook(0, 0, nullptr), 6);
  }
  std::string alone = dir.file("alone");
  CreateDirectoryA(alone.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(siblingpath("Ravelink.cgw").c_str(), (alone + "\\Ravelink.cgw").c_str(), FALSE));
  // A library lacking an entry point is not bound either.
  ASSERT_TRUE(CopyFileA(siblingpath("cgwhost.exe").c_str(), (alone + "\\rladdrbk.dll").c_str(), FALSE));
  connector_c c(alone + "\\Ravelink.cgw");
  ASSERT_NE(c.module, nullptr);
  EXPECT_EQ(c.x.addressbook(0, 0, nullptr), 6);
  EXPECT_EQ(c.x.addressbook(0, 0, hostcallback), 0);
  EXPECT_TRUE(picked.empty());
  EXPECT_EQ(c.x.getcaps(5), 0);
}

TEST_F(AddressBook, RecordTextsAreReadOnlyUpToTheirFields) {
  std::string longname(300, 'n');
  std::string company(300, 'c');
  abrecord r = {};
  r.firstname = longname.c_str();
  r.company = company.c_str();
  r.faxno = "  0172 555  ";
  cgwrecipient e;
  ASSERT_EQ(addressbook_c::fillrecipient(&r, &e), 1);
  EXPECT_EQ(std::string(e.firstname), std::string(63, 'n'));
  EXPECT_EQ(std::string(e.company), std::string(255, 'c'));
  EXPECT_STREQ(e.faxno, "0172 555");
  EXPECT_STREQ(e.lastname, "");
  EXPECT_EQ(addressbook_c::fillrecipient(nullptr, &e), 0);
}
