// The per-user profile store on the real registry: where values land, round trips, and values
// of the wrong kind or shape read back as the defaults.
#include <gtest/gtest.h>

#include <string>

#include "manager/ui/uiprofile.h"
#include "tests/managerui/uitesthelp.h"

namespace {

class ProfileTest : public ::testing::Test {
protected:
  ProfileTest() : profile(key.name.c_str(), "Ravelink UI Test") {}
  std::string section(const char* name) const { return key.software() + "\\Ravelink UI Test\\" + name; }
  uitest::testkey_c key;
  uiprofile_c profile;
};

TEST_F(ProfileTest, TheManagersStoreLiesUnderItsKeyNameAndTitle) {
  uiprofile_c manager("Ravelink Manager", "Ravelink Manager");
  EXPECT_STREQ(manager.rootpath(), "Software\\Ravelink Manager\\Ravelink Manager");
}

TEST_F(ProfileTest, ValuesLandInASubkeyPerSectionAndComeBack) {
  ASSERT_TRUE(profile.writestring("Settings", "WindowPos", "0,1,-1,-1,-8,-8,10,20,610,420"));
  ASSERT_TRUE(profile.writeint("BarState-Bar0", "Side", 3));
  ASSERT_TRUE(profile.writeint("BarState-Bar0", "Negative", -5));

  // Where they are, read without the store.
  char text[64] = "";
  DWORD size = sizeof text;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, section("Settings").c_str(), "WindowPos", RRF_RT_REG_SZ, nullptr, text,
                         &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, "0,1,-1,-1,-8,-8,10,20,610,420");
  DWORD side = 0;
  ASSERT_TRUE(key.getdword(section("BarState-Bar0"), "Side", side));
  EXPECT_EQ(side, 3u);

  EXPECT_STREQ(profile.getstring("Settings", "WindowPos").text(), "0,1,-1,-1,-8,-8,10,20,610,420");
  EXPECT_EQ(profile.getint("BarState-Bar0", "Side", -1), 3);
  EXPECT_EQ(profile.getint("BarState-Bar0", "Negative", 0), -5);
  // Missing entries, sections and the whole store give the defaults.
  EXPECT_STREQ(profile.getstring("Settings", "Nothing", "dflt").text(), "dflt");
  EXPECT_STREQ(profile.getstring("Nowhere", "WindowPos", "dflt").text(), "dflt");
  EXPECT_EQ(profile.getint("Nowhere", "Side", 42), 42);
}

TEST_F(ProfileTest, ValuesOfTheWrongKindGiveTheDefault) {
  const std::string sec = section("Damaged");
  const DWORD number = 7;
  const WORD shortnumber = 7;
  const unsigned long long longnumber = 7;
  ASSERT_TRUE(key.setraw(sec, "TextAsNumber", REG_SZ, "7", 2));
  ASSERT_TRUE(key.setraw(sec, "ShortNumber", REG_DWORD, &shortnumber, sizeof shortnumber));
  ASSERT_TRUE(key.setraw(sec, "QwordNumber", REG_QWORD, &longnumber, sizeof longnumber));
  ASSERT_TRUE(key.setraw(sec, "BinaryNumber", REG_BINARY, &number, sizeof number));
  ASSERT_TRUE(key.setraw(sec, "NumberAsText", REG_DWORD, &number, sizeof number));
  ASSERT_TRUE(key.setraw(sec, "BinaryText", REG_BINARY, "abc", 4));
  for (const char* name : {"TextAsNumber", "ShortNumber", "QwordNumber", "BinaryNumber"}) {
    EXPECT_EQ(profile.getint("Damaged", name, -1), -1) << name;
  }
  for (const char* name : {"NumberAsText", "BinaryText"}) {
    EXPECT_STREQ(profile.getstring("Damaged", name, "dflt").text(), "dflt") << name;
  }
}

// Data need not end in a terminator, and may be empty: the text stops where the data stops.
TEST_F(ProfileTest, StringsWithoutTerminatorEndWhereTheirDataEnds) {
  const std::string sec = section("Raw");
  ASSERT_TRUE(key.setraw(sec, "NoTerminator", REG_SZ, "abcdef", 3));
  ASSERT_TRUE(key.setraw(sec, "Empty", REG_SZ, "", 0));
  ASSERT_TRUE(key.setraw(sec, "Expand", REG_EXPAND_SZ, "%TEMP%", 7));
  EXPECT_STREQ(profile.getstring("Raw", "NoTerminator", "dflt").text(), "abc");
  EXPECT_STREQ(profile.getstring("Raw", "Empty", "dflt").text(), "");
  EXPECT_STREQ(profile.getstring("Raw", "Expand", "dflt").text(), "%TEMP%");   // not expanded

  std::string big(20000, 'x');
  ASSERT_TRUE(profile.writestring("Raw", "Big", big.c_str()));
  EXPECT_EQ(profile.getstring("Raw", "Big").text(), big);
}

TEST_F(ProfileTest, NullValueDeletesTheEntryNullEntryTheSection) {
  ASSERT_TRUE(profile.writestring("Gone", "A", "1"));
  ASSERT_TRUE(profile.writestring("Gone", "B", "2"));
  ASSERT_TRUE(profile.writestring("Gone", "A", nullptr));
  EXPECT_STREQ(profile.getstring("Gone", "A", "dflt").text(), "dflt");
  EXPECT_STREQ(profile.getstring("Gone", "B").text(), "2");
  EXPECT_TRUE(profile.writestring("Gone", "A", nullptr));   // already gone: still fine
  ASSERT_TRUE(profile.writestring("Gone", nullptr, nullptr));
  EXPECT_FALSE(key.exists(section("Gone")));
  EXPECT_TRUE(profile.deletesection("Gone"));   // nothing left to delete
  EXPECT_TRUE(profile.writestring("NeverWas", "A", nullptr));
  EXPECT_FALSE(key.exists(section("NeverWas")));
}

// Names from the program only, but checked anyway: a backslash would reach outside the store.
TEST_F(ProfileTest, NamesThatWouldLeaveTheStoreAreRefused) {
  const struct {
    const char* keyname;
    const char* title;
  } badlocations[] = {{"", "Title"}, {"Key", ""}, {nullptr, "Title"}, {"Key\\Sub", "Title"}, {"Key", "..\\..\\Evil"}};
  for (const auto& c : badlocations) {
    uiprofile_c bad(c.keyname, c.title);
    EXPECT_FALSE(bad.haslocation());
    EXPECT_FALSE(bad.writeint("Settings", "X", 1));
    EXPECT_EQ(bad.getint("Settings", "X", 9), 9);
  }
  for (const char* bad : {"", "..\\Evil", "Settings\\Deeper"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(profile.writeint(bad, "X", 1));
    EXPECT_FALSE(profile.writestring(bad, "X", "1"));
    EXPECT_FALSE(profile.deletesection(bad));
  }
  EXPECT_FALSE(profile.writeint(nullptr, "X", 1));
  EXPECT_FALSE(key.exists(key.software()));
  EXPECT_FALSE(key.exists("Software\\Evil"));
}

}  // namespace
