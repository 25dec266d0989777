#include "toolkit/path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/testsupport.h"

TEST(Path, ReplaceNameExt) {
  static const struct {
    const char* path;
    const char* name;
    const char* ext;
    const char* expected;
  } cases[] = {
      {"C:\\a\\b.exe", "c.ini", nullptr, "C:\\a\\c.ini"},
      {"C:\\a\\b.exe", nullptr, "txt", "C:\\a\\b.txt"},
      {"C:\\a.b\\name", nullptr, ".txt", "C:\\a.b\\name.txt"},
      {"C:\\a\\b.exe", "ltprepkit2", ".txt", "C:\\a\\ltprepkit2.txt"},
      {"bare.exe", "other.dll", nullptr, "bare.exeother.dll"},  // no backslash: nothing removed
      {"bare.exe", nullptr, "dll", "bare.dll"},
      {"C:\\dir\\", "x.y", nullptr, "C:\\dir\\x.y"},
  };
  for (const auto& c : cases) {
    char buffer[MAX_PATH];
    strcpy(buffer, c.path);
    replacenameext(buffer, sizeof buffer, c.name, c.ext);
    EXPECT_STREQ(buffer, c.expected) << c.path;
  }
  char untouched[16] = "C:\\a\\b.exe";
  replacenameext(untouched, 0, "zz", "yy");
  EXPECT_STREQ(untouched, "C:\\a\\b.exe");
  replacenameext(nullptr, 10, "zz", nullptr);

  wchar_t wide[MAX_PATH] = L"C:\\a\\b.exe";
  replacenameextw(wide, MAX_PATH, L"c.ini", nullptr);
  EXPECT_STREQ(wide, L"C:\\a\\c.ini");
}

TEST(Path, ReplaceNameExtNeverPassesTheBufferSize) {
  char buffer[24];
  memset(buffer, '#', sizeof buffer);
  strcpy(buffer, "C:\\a\\b.exe");
  replacenameext(buffer, 16, "averylongname.extension", nullptr);
  EXPECT_EQ(strlen(buffer), 15u);
  EXPECT_STREQ(buffer, "C:\\a\\averylongn");
  for (size_t i = 16; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
}

TEST(Path, StripFileNameAndFileNamePart) {
  static const struct {
    const char* path;
    const char* expected;
  } cases[] = {{"C:\\a\\b.txt", "C:\\a\\"}, {"C:\\a\\", "C:\\"}, {"name", "name\\"}, {"", "\\"}};
  for (const auto& c : cases) {
    char buffer[64];
    strcpy(buffer, c.path);
    stripfilename(buffer);
    EXPECT_STREQ(buffer, c.expected) << c.path;
  }
  EXPECT_STREQ(filenamepart("C:\\a\\b.txt"), "b.txt");
  EXPECT_STREQ(filenamepart("b.txt"), "b.txt");
  EXPECT_STREQ(filenamepart("C:\\a\\"), "");
}

TEST(Path, BackslashHelpers) {
  char a[16] = "C:\\dir";
  addbackslash(a);
  EXPECT_STREQ(a, "C:\\dir\\");
  addbackslash(a);
  EXPECT_STREQ(a, "C:\\dir\\");
  removebackslash(a);
  EXPECT_STREQ(a, "C:\\dir");
  removebackslash(a);
  EXPECT_STREQ(a, "C:\\dir");
  char e[4] = "";
  addbackslash(e);
  EXPECT_STREQ(e, "\\");
  addbackslash(nullptr);
  removebackslash(nullptr);
}

TEST(Path, SameExt) {
  static const struct {
    const char* name;
    const char* other;
    int expected;
  } cases[] = {
      {"report.TXT", "other.txt", 1}, {"report.txt", "txt", 1},   {"report", "txt", 0},
      {"report", nullptr, 0},         {"report.tif", nullptr, 1}, {"a.b.tif", "x.TIF", 1},
      {"report.tif", "tiff", 0},      {"report.", "x.", 1},       {nullptr, "txt", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(sameext(c.name, c.other), c.expected) << (c.name ? c.name : "(null)") << " / "
                                                    << (c.other ? c.other : "(null)");
}

TEST(Path, ExistenceAndDirectories) {
  scratchdir_c dir;
  EXPECT_EQ(direxists(dir.path().c_str()), 1);
  EXPECT_EQ(direxists((dir.path() + "\\").c_str()), 1);
  EXPECT_EQ(direxists(dir.file("none").c_str()), 0);
  EXPECT_EQ(pathexists(dir.file("*.tif").c_str()), 0);
  ASSERT_TRUE(writewhole(dir.file("a.tif"), "x"));
  EXPECT_EQ(pathexists(dir.file("*.tif").c_str()), 1);
  EXPECT_EQ(pathexists(dir.file("a.tif").c_str()), 1);
  EXPECT_EQ(pathexists(nullptr), 0);

  // makedir creates one level only, with or without a trailing backslash.
  EXPECT_EQ(makedir(dir.file("x\\y").c_str()), 0);
  EXPECT_NE(makedir((dir.file("x") + "\\").c_str()), 0);
  EXPECT_EQ(direxists(dir.file("x").c_str()), 1);
  EXPECT_EQ(makedir(nullptr), 0);
}

TEST(Path, EmptyDirKeepsSubdirectories) {
  scratchdir_c dir;
  std::string box = dir.file("box");
  ASSERT_NE(makedir(box.c_str()), 0);
  ASSERT_TRUE(writewhole(box + "\\one.tif", "1"));
  ASSERT_TRUE(writewhole(box + "\\two.bdy", "2"));
  ASSERT_NE(makedir((box + "\\sub").c_str()), 0);
  ASSERT_TRUE(writewhole(box + "\\sub\\keep.txt", "3"));

  EXPECT_EQ(emptydir(box.c_str(), 1), 1);
  EXPECT_EQ(pathexists((box + "\\one.tif").c_str()), 0);
  EXPECT_EQ(pathexists((box + "\\two.bdy").c_str()), 0);
  EXPECT_EQ(pathexists((box + "\\sub\\keep.txt").c_str()), 1);
  EXPECT_EQ(direxists(box.c_str()), 1);

  // Once only empty folders are left, the remove flag takes the folder away.
  std::string empty = dir.file("empty");
  ASSERT_NE(makedir(empty.c_str()), 0);
  ASSERT_TRUE(writewhole(empty + "\\f", "1"));
  EXPECT_EQ(emptydir((empty + "\\").c_str(), 1), 1);
  EXPECT_EQ(direxists(empty.c_str()), 0);
  EXPECT_EQ(emptydir(nullptr, 1), 0);
}

TEST(Path, ModuleRelPath) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string folder(self, strrchr(self, '\\') + 1);

  char out[MAX_PATH];
  ASSERT_EQ(modulerelpath("addr.dll", nullptr, out, sizeof out, nullptr), 1);
  EXPECT_EQ(std::string(out), folder + "addr.dll");
  ASSERT_EQ(modulerelpath("ltlib", ".txt", out, sizeof out, nullptr), 1);
  EXPECT_EQ(std::string(out), folder + "ltlib.txt");

  EXPECT_EQ(modulerelpath(nullptr, nullptr, out, sizeof out, nullptr), 0);
  EXPECT_EQ(modulerelpath("a", nullptr, nullptr, 10, nullptr), 0);
  EXPECT_EQ(modulerelpath("a", nullptr, out, 0, nullptr), 0);
  // A buffer too small for the module's path fails instead of using a cut path.
  EXPECT_EQ(modulerelpath("a", nullptr, out, 8, nullptr), 0);

  wchar_t wout[MAX_PATH];
  ASSERT_EQ(modulerelpathw(L"addr.dll", nullptr, wout, MAX_PATH, nullptr), 1);
  EXPECT_NE(wcsstr(wout, L"\\addr.dll"), nullptr);
}

namespace {
SYSTEMTIME at(WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
  SYSTEMTIME t = {};
  t.wYear = 2026;
  t.wMonth = 12;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}
}  // namespace

TEST(UniqueFileName, StartNumberFromTheTime) {
  EXPECT_EQ(uniquefilenamestart(at(9, 19, 25, 30, 500)), 64125000u);
  EXPECT_EQ(uniquefilenamestart(at(9, 19, 25, 0, 500)), 0u);
  // The product wraps as an unsigned 32-bit number.
  EXPECT_EQ(uniquefilenamestart(at(31, 23, 59, 59, 999)), static_cast<uint32_t>(31ull * 23 * 59 * 59 * 999));
}

TEST(UniqueFileName, NamesCollisionsAndPrefix) {
  scratchdir_c dir;
  SYSTEMTIME t = at(9, 19, 25, 30, 500);
  char name[32];
  char path[MAX_PATH];
  ASSERT_EQ(uniquefilenameat(t, dir.path().c_str(), "scan.tif", name, path, sizeof path, nullptr), 1);
  EXPECT_STREQ(name, "03D27848.tif");
  EXPECT_EQ(std::string(path), dir.file("03D27848.tif"));

  // The file is not created; once it exists the next number is taken.
  EXPECT_EQ(pathexists(path), 0);
  ASSERT_TRUE(writewhole(path, "x"));
  ASSERT_EQ(uniquefilenameat(t, (dir.path() + "\\").c_str(), "tif", name, path, sizeof path, nullptr), 1);
  EXPECT_STREQ(name, "03D27849.tif");
  EXPECT_EQ(std::string(path), dir.file("03D27849.tif"));

  ASSERT_EQ(uniquefilenameat(t, dir.path().c_str(), "tif", name, nullptr, 0, "ABCDEF"), 1);
  EXPECT_STREQ(name, "ABCD7848.tif");
  ASSERT_EQ(uniquefilenameat(t, dir.path().c_str(), "x.BDY", name, nullptr, 0, "AB"), 1);
  EXPECT_STREQ(name, "ABD27848.BDY");

  ASSERT_EQ(uniquefilenameat(at(1, 2, 3, 0, 4), dir.path().c_str(), "frp", name, nullptr, 0, nullptr), 1);
  EXPECT_STREQ(name, "00000000.frp");

  // Outputs are cut to their sizes.
  char tiny[6];
  ASSERT_EQ(uniquefilenameat(t, dir.path().c_str(), "tif", tiny, nullptr, 0, nullptr, sizeof tiny), 1);
  EXPECT_STREQ(tiny, "03D27");

  EXPECT_EQ(uniquefilenameat(t, nullptr, "tif", name, path, sizeof path, nullptr), 0);
  EXPECT_EQ(uniquefilenameat(t, dir.path().c_str(), nullptr, name, path, sizeof path, nullptr), 0);
  EXPECT_EQ(uniquefilenameat(t, dir.path().c_str(), "tif", nullptr, nullptr, 0, nullptr), 0);
}

TEST(UniqueFileName, CurrentTimeGivesAFreeName) {
  scratchdir_c dir;
  char name[32];
  ASSERT_EQ(uniquefilename(dir.path().c_str(), "tif", name, nullptr, 0, nullptr), 1);
  EXPECT_EQ(strlen(name), 12u);
  EXPECT_STREQ(name + 8, ".tif");
}
