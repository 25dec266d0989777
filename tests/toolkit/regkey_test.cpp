#include "toolkit/regkey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// Every test works below HKCU\Software\RavelinkTest<pid>, created on demand and removed with
// everything in it afterwards (with the system's own tree deletion, not the class under test).
class Regkey : public ::testing::Test {
protected:
  std::string sandbox;

  void SetUp() override {
    char name[64];
    snprintf(name, sizeof name, "Software\\RavelinkTest%lu", GetCurrentProcessId());
    sandbox = name;
    RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());
    EXPECT_FALSE(exists(sandbox)) << "sandbox left behind";
  }

  std::string path(const std::string& below) const { return sandbox + "\\" + below; }

  static bool exists(const std::string& subkey, HKEY root = HKEY_CURRENT_USER) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  // Creates the key and sets one value of any type.
  static void put(const std::string& subkey, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS)
        << subkey;
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, (const BYTE*)data, size), ERROR_SUCCESS) << name;
    RegCloseKey(key);
  }
  static void putstring(const std::string& subkey, const char* name, const char* text, DWORD type = REG_SZ) {
    put(subkey, name, type, text, (DWORD)strlen(text) + 1);
  }
  static void putdword(const std::string& subkey, const char* name, DWORD value) {
    put(subkey, name, REG_DWORD, &value, sizeof value);
  }

  static bool readvalue(const std::string& subkey, const char* name, DWORD* type, std::string* data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[512];
    DWORD size = sizeof buffer;
    LONG rc = RegQueryValueExA(key, name, nullptr, type, (BYTE*)buffer, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    data->assign(buffer, size);
    return true;
  }
};

TEST_F(Regkey, ConstructsClosed) {
  regkey_c reg(2);
  EXPECT_EQ(reg.root, 2);
  EXPECT_EQ(reg.key, nullptr);
  EXPECT_EQ(reg.remoteroot, nullptr);
  EXPECT_EQ(reg.enumindex, 0);
  EXPECT_EQ(reg.close(), 0);   // nothing was open
}

TEST_F(Regkey, RootAndModeTables) {
  static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,   HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                               HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(regkey_c::rootkey(i), roots[i]) << i;
  EXPECT_EQ(regkey_c::rootkey(-1), nullptr);
  EXPECT_EQ(regkey_c::rootkey(7), nullptr);

  EXPECT_EQ(regkey_c::modeaccess(0), 0x20019u);
  EXPECT_EQ(regkey_c::modeaccess(1), 0x20006u);
  EXPECT_EQ(regkey_c::modeaccess(2), 0x2001Fu);
  EXPECT_EQ(regkey_c::modeaccess(3), 0xF003Fu);
  EXPECT_EQ(regkey_c::modeaccess(4), 0u);
  EXPECT_EQ(regkey_c::modeaccess(-1), 0u);
}

TEST_F(Regkey, ModesOnAMissingKey) {
  static const struct {
    int mode;
    int result;   // and whether the key exists afterwards
  } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 0}, {-1, 0}};
  for (const auto& c : cases) {
    std::string subkey = path("Mode" + std::to_string(c.mode));
    regkey_c reg(2);
    EXPECT_EQ(reg.connect(subkey.c_str(), c.mode, nullptr), c.result) << "mode " << c.mode;
    EXPECT_EQ(reg.key != nullptr, c.result == 1) << "mode " << c.mode;
    EXPECT_EQ(reg.close(), c.result) << "mode " << c.mode;
    EXPECT_EQ(exists(subkey), c.result == 1) << "mode " << c.mode;
  }
}

TEST_F(Regkey, ModesOnAnExistingKeyGiveTheirAccess) {
  putstring(path("Existing"), "text", "hello");
  std::string subkey = path("Existing");
  char buffer[16];

  regkey_c reader(2);
  ASSERT_EQ(reader.connect(subkey.c_str(), 0, nullptr), 1);
  EXPECT_EQ(reader.getvalue("text", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(reader.setstring("other", "x", 0), 0) << "mode 0 is read only";

  regkey_c writer(2);
  ASSERT_EQ(writer.connect(subkey.c_str(), 1, nullptr), 1);
  EXPECT_EQ(writer.setstring("other", "x", 0), 1);
  EXPECT_EQ(writer.getvalue("text", buffer, sizeof buffer), 0) << "mode 1 cannot read";

  for (int mode : {2, 3}) {
    regkey_c both(2);
    ASSERT_EQ(both.connect(subkey.c_str(), mode, nullptr), 1);
    EXPECT_EQ(both.getvalue("text", buffer, sizeof buffer), 1) << mode;
    EXPECT_EQ(both.setstring("other", "y", 0), 1) << mode;
  }
}

TEST_F(Regkey, ConnectRefusesNullSubkeyAndInvalidRoot) {
  regkey_c reg(2);
  EXPECT_EQ(reg.connect(nullptr, 2, nullptr), 0);
  EXPECT_EQ(reg.key, nullptr);
  for (int root : {-1, 7, 100}) {
    regkey_c bad(root);
    EXPECT_EQ(bad.connect(path("BadRoot").c_str(), 2, nullptr), 0) << root;
    EXPECT_EQ(bad.key, nullptr);
  }
  EXPECT_FALSE(exists(path("BadRoot")));
}

TEST_F(Regkey, SecondConnectKeepsTheFirstKey) {
  regkey_c reg(2);
  ASSERT_EQ(reg.connect(path("First").c_str(), 2, nullptr), 1);
  HKEY first = reg.key;
  EXPECT_EQ(reg.connect(path("Second").c_str(), 2, nullptr), 0);
  EXPECT_EQ(reg.key, first);
  EXPECT_FALSE(exists(path("Second")));
  ASSERT_EQ(reg.setstring("where", "first", 0), 1);
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(readvalue(path("First"), "where", &type, &data));
  EXPECT_EQ(data, std::string("first", 6));
}

// Wine answers RegConnectRegistryA only for this computer's own name (not "localhost"), so the
// machine spellings are all of that name. The keys read are ones every prefix has.
TEST_F(Regkey, MachineNameWithSlashesAndBlanksReachesTheSameMachine) {
  char computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof computer;
  ASSERT_TRUE(GetComputerNameA(computer, &size));
  const std::string name = computer;
  const char* subkey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

  char local[64] = {};
  {
    regkey_c reg(3);
    ASSERT_EQ(reg.connect(subkey, 0, nullptr), 1);
    ASSERT_EQ(reg.getvalue("CurrentVersion", local, sizeof local - 1), 1);
    EXPECT_EQ(reg.remoteroot, nullptr);
  }

  const std::string spellings[] = {name,
                                   "\\\\" + name,
                                   "\\\\" + name + "/",
                                   " \\\\ " + name + " / ",
                                   "//" + name + "\\",
                                   "\t" + name.substr(0, 1) + " " + name.substr(1) + "\\\\"};
  for (const auto& machine : spellings) {
    regkey_c reg(3);
    ASSERT_EQ(reg.connect(subkey, 0, machine.c_str()), 1) << "[" << machine << "]";
    EXPECT_NE(reg.remoteroot, nullptr) << "[" << machine << "]";
    char remote[64] = {};
    EXPECT_EQ(reg.getvalue("CurrentVersion", remote, sizeof remote - 1), 1) << "[" << machine << "]";
    EXPECT_STREQ(remote, local) << "[" << machine << "]";
    EXPECT_EQ(reg.close(), 1);
    EXPECT_EQ(reg.remoteroot, nullptr);
    EXPECT_EQ(reg.key, nullptr);
  }
}

TEST_F(Regkey, FailedRemoteConnectLeavesNothingOpen) {
  char computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof computer;
  ASSERT_TRUE(GetComputerNameA(computer, &size));

  regkey_c missing(3);   // the machine answers, the key is not there
  EXPECT_EQ(missing.connect("SOFTWARE\\RavelinkNoSuchKey", 0, computer), 0);
  EXPECT_EQ(missing.remoteroot, nullptr);
  EXPECT_EQ(missing.key, nullptr);

  regkey_c nomachine(3);
  EXPECT_EQ(nomachine.connect("SOFTWARE", 0, "\\\\ravelink-no-such-machine"), 0);
  EXPECT_EQ(nomachine.remoteroot, nullptr);
  EXPECT_EQ(nomachine.key, nullptr);
}

TEST_F(Regkey, ReadsValuesWithinTheBuffer) {
  putstring(path("Values"), "text", "abcdefgh");
  putdword(path("Values"), "number", 0x12345678);
  putstring(path("Values"), "wide", "wide text");
  regkey_c reg(2);
  ASSERT_EQ(reg.connect(path("Values").c_str(), 0, nullptr), 1);

  char buffer[16];
  memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(reg.getvalue("text", buffer, 9), 1);
  EXPECT_STREQ(buffer, "abcdefgh");
  EXPECT_EQ(buffer[9], '#');

  memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(reg.getvalue("text", buffer, 8), 0) << "the data does not fit";
  for (int i = 8; i < 16; ++i) EXPECT_EQ(buffer[i], '#') << i;

  EXPECT_EQ(reg.getvalue(nullptr, buffer, 16), 0);
  EXPECT_EQ(reg.getvalue("text", nullptr, 16), 0);
  EXPECT_EQ(reg.getvalue("text", buffer, 0), 0);
  EXPECT_EQ(reg.getvalue("text", buffer, -5), 0);
  EXPECT_EQ(reg.getvalue("missing", buffer, 16), 0);

  // Any type is read as raw bytes.
  DWORD number = 0;
  EXPECT_EQ(reg.getvalue("number", &number, sizeof number), 1);
  EXPECT_EQ(number, 0x12345678u);
  unsigned char four[6];
  memset(four, '#', sizeof four);
  EXPECT_EQ(reg.getdword("number", four), 1);
  EXPECT_EQ(memcmp(four, &number, 4), 0);
  EXPECT_EQ(four[4], '#');
  EXPECT_EQ(reg.getdword("text", four), 0) << "9 bytes do not fit in 4";
  EXPECT_EQ(reg.getdword(nullptr, four), 0);
  EXPECT_EQ(reg.getdword("number", nullptr), 0);

  wchar_t wide[16];
  EXPECT_EQ(reg.getvaluew(L"wide", wide, 16), 1);
  EXPECT_STREQ(wide, L"wide text");
  EXPECT_EQ(reg.getvaluew(L"wide", wide, 9), 0) << "10 characters do not fit in 9";
  EXPECT_EQ(reg.getvaluew(nullptr, wide, 16), 0);
  EXPECT_EQ(reg.getvaluew(L"wide", nullptr, 16), 0);
  EXPECT_EQ(reg.getvaluew(L"wide", wide, 0), 0);
}

TEST_F(Regkey, WritesAndDeletesStrings) {
  regkey_c reg(2);
  ASSERT_EQ(reg.connect(path("Write").c_str(), 1, nullptr), 1);
  EXPECT_EQ(reg.setstring("plain", "C:\\fax", 0), 1);
  EXPECT_EQ(reg.setstring("expand", "%WINDIR%\\fax", 1), 1);
  EXPECT_EQ(reg.setstring("empty", "", 0), 1);
  EXPECT_EQ(reg.setstring(nullptr, "x", 0), 0);
  EXPECT_EQ(reg.setstring("x", nullptr, 0), 0);

  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(readvalue(path("Write"), "plain", &type, &data));
  EXPECT_EQ(type, (DWORD)REG_SZ);
  EXPECT_EQ(data, std::string("C:\\fax", 7));
  ASSERT_TRUE(readvalue(path("Write"), "expand", &type, &data));
  EXPECT_EQ(type, (DWORD)REG_EXPAND_SZ);
  EXPECT_EQ(data, std::string("%WINDIR%\\fax", 13));
  ASSERT_TRUE(readvalue(path("Write"), "empty", &type, &data));
  EXPECT_EQ(data, std::string("", 1));

  EXPECT_EQ(reg.deletevalue("plain"), 1);
  EXPECT_FALSE(readvalue(path("Write"), "plain", &type, &data));
  EXPECT_EQ(reg.deletevalue("plain"), 0) << "already gone";
  EXPECT_EQ(reg.deletevalue(nullptr), 0);
}

TEST_F(Regkey, OperationsWithoutAKeyFail) {
  regkey_c reg(2);
  char buffer[8];
  wchar_t wide[8];
  EXPECT_EQ(reg.getvalue("x", buffer, sizeof buffer), 0);
  EXPECT_EQ(reg.getvaluew(L"x", wide, 8), 0);
  EXPECT_EQ(reg.getdword("x", buffer), 0);
  EXPECT_EQ(reg.setstring("x", "y", 0), 0);
  EXPECT_EQ(reg.deletevalue("x"), 0);
  EXPECT_EQ(reg.enumstring(buffer, sizeof buffer, nullptr, 0), 0);
  EXPECT_EQ(reg.enumindex, 0);
}

TEST_F(Regkey, DeleteKeyRemovesTheWholeTree) {
  const std::string tree = path("Tree");
  const std::string longname(300, 'v');   // longer than any key name may be
  putstring(tree, "top", "1");
  putdword(tree, "count", 3);
  putstring(tree + "\\One", "a", "x");
  putstring(tree + "\\One", longname.c_str(), "long");
  putstring(tree + "\\One\\Deeper\\Deepest", "b", "y");
  putstring(tree + "\\Two", "c", "z");
  put(tree + "\\Two\\Empty", "", REG_SZ, "", 1);
  putstring(path("Sibling"), "keep", "me");

  regkey_c reg(2);
  EXPECT_EQ(reg.deletekey(tree.c_str()), 1);
  EXPECT_FALSE(exists(tree));
  EXPECT_TRUE(exists(path("Sibling")));
  EXPECT_EQ(reg.key, nullptr);

  EXPECT_EQ(reg.deletekey(tree.c_str()), 0) << "nothing left to delete";
  EXPECT_EQ(reg.deletekey(nullptr), 0);
  regkey_c badroot(9);
  EXPECT_EQ(badroot.deletekey(path("Sibling").c_str()), 0);
  EXPECT_TRUE(exists(path("Sibling")));
}

TEST_F(Regkey, DeleteKeyRefusesWhileAKeyIsOpen) {
  const std::string tree = path("Held");
  putstring(tree + "\\Child", "a", "x");
  putstring(path("Other\\Child"), "a", "x");

  regkey_c reg(2);
  ASSERT_EQ(reg.connect(tree.c_str(), 2, nullptr), 1);
  EXPECT_EQ(reg.deletekey(tree.c_str()), 0);
  EXPECT_EQ(reg.deletekey(path("Other").c_str()), 0);
  EXPECT_TRUE(exists(tree + "\\Child"));
  EXPECT_TRUE(exists(path("Other\\Child")));

  EXPECT_EQ(reg.close(), 1);
  EXPECT_EQ(reg.deletekey(path("Other").c_str()), 1);
  EXPECT_FALSE(exists(path("Other")));
}

TEST_F(Regkey, EnumStringSkipsNumbersRawDataAndLongNames) {
  const std::string key = path("Enum");
  const unsigned char raw[] = {1, 2, 3};
  putstring(key, "first", "one");
  putdword(key, "number", 7);
  put(key, "raw", REG_BINARY, raw, sizeof raw);
  putstring(key, "expand", "%TEMP%", REG_EXPAND_SZ);
  put(key, "multi", REG_MULTI_SZ, "a\0b\0", 5);
  putstring(key, "a_name_too_long_for_the_buffer", "skipped");
  putstring(key, "last", "two");

  const std::set<std::string> expected = {"first", "expand", "multi", "last"};
  const std::map<std::string, std::string> contents = {{"first", std::string("one", 4)},
                                                       {"expand", std::string("%TEMP%", 7)},
                                                       {"multi", std::string("a\0b\0", 5)},
                                                       {"last", std::string("two", 4)}};
  regkey_c reg(2);
  ASSERT_EQ(reg.connect(key.c_str(), 0, nullptr), 1);

  for (int round = 0; round < 2; ++round) {
    std::set<std::string> seen;
    char name[16];
    char data[16];
    memset(data, 0, sizeof data);
    while (reg.enumstring(name, sizeof name, data, sizeof data)) {
      EXPECT_TRUE(seen.insert(name).second) << name << " twice";
      auto want = contents.find(name);
      ASSERT_NE(want, contents.end()) << name;
      EXPECT_EQ(std::string(data, want->second.size()), want->second) << name;
      memset(data, 0, sizeof data);
      ASSERT_LT(seen.size(), 10u);
    }
    EXPECT_EQ(seen, expected) << "round " << round;
    const int32_t end = reg.enumindex;
    EXPECT_EQ(end, 7);
    EXPECT_EQ(reg.enumstring(name, sizeof name, data, sizeof data), 0) << "stays at the end";
    EXPECT_EQ(reg.enumindex, end);
    reg.resetenum();
    EXPECT_EQ(reg.enumindex, 0);
  }

  // Without a data buffer only the names come back.
  std::set<std::string> names;
  char name[16];
  while (reg.enumstring(name, sizeof name, nullptr, 0)) names.insert(name);
  EXPECT_EQ(names, expected);

  // A string whose data does not fit the data buffer is passed over as well.
  reg.resetenum();
  names.clear();
  char small[4];
  while (reg.enumstring(name, sizeof name, small, sizeof small)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"first", "last"})) << "\"one\" and \"two\" fit in 4 bytes";

  EXPECT_EQ(reg.enumstring(nullptr, 16, nullptr, 0), 0);
  EXPECT_EQ(reg.enumstring(name, 0, nullptr, 0), 0);
}

TEST_F(Regkey, EnumerationIndexSurvivesClose) {
  putstring(path("Index"), "a", "1");
  putstring(path("Index"), "b", "2");
  regkey_c reg(2);
  ASSERT_EQ(reg.connect(path("Index").c_str(), 0, nullptr), 1);
  char name[8];
  ASSERT_EQ(reg.enumstring(name, sizeof name, nullptr, 0), 1);
  EXPECT_EQ(reg.enumindex, 1);
  EXPECT_EQ(reg.close(), 1);
  EXPECT_EQ(reg.enumindex, 1);
  ASSERT_EQ(reg.connect(path("Index").c_str(), 0, nullptr), 1);
  ASSERT_EQ(reg.enumstring(name, sizeof name, nullptr, 0), 1);
  EXPECT_EQ(reg.enumindex, 2);
  EXPECT_EQ(reg.enumstring(name, sizeof name, nullptr, 0), 0);
}

}  // namespace
