#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "tests/support/testsupport.h"
#include "toolkit/file.h"

namespace {

// Whether some other handle could open the file now, with any sharing.
bool othercanopen(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

TEST(File, ModeGivesTheAccess) {
  static const struct {
    int mode;
    bool canread;
    bool canwrite;
  } cases[] = {
      {1, false, true}, {2, true, true}, {0, true, false}, {3, true, false}, {-1, true, false}, {0x40000000, true, false},
  };
  scratchdir_c dir;
  std::string path = dir.file("mode.bin");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    for (int creating = 0; creating < 2; ++creating) {
      SCOPED_TRACE(creating ? "create" : "open");
      ASSERT_TRUE(writewhole(path, "0123456789"));
      file_c f;
      ASSERT_EQ(1, creating ? f.create(path.c_str(), c.mode) : f.open(path.c_str(), 0, c.mode));
      char byte = 0;
      DWORD moved = 99;
      EXPECT_EQ(c.canread && !creating ? 1 : 0, f.read(&byte, 1, nullptr));
      EXPECT_EQ(c.canread ? 1 : 0, f.read(&byte, 1, &moved));
      if (c.canread) {
        EXPECT_EQ(creating ? 0u : 1u, moved);
      }
      EXPECT_EQ(c.canwrite ? 1 : 0, f.write("x", 1, &moved));
      f.close();
      // Two reads (when allowed) move past "01" before the write.
      std::string expected = creating ? "" : "0123456789";
      if (c.canwrite) expected = creating ? "x" : c.canread ? "01x3456789" : "x123456789";
      EXPECT_EQ(expected, readwhole(path));
    }
  }
}

TEST(File, OpensWithoutSharing) {
  scratchdir_c dir;
  std::string path = dir.file("alone.bin");
  ASSERT_TRUE(writewhole(path, "abc"));
  {
    file_c f;
    ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
    EXPECT_FALSE(othercanopen(path));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
  }
  EXPECT_TRUE(othercanopen(path)) << "the destructor closes";
  {
    file_c f;
    ASSERT_EQ(1, f.create(path.c_str(), 2));
    EXPECT_FALSE(othercanopen(path));
  }
  EXPECT_TRUE(othercanopen(path));
}

TEST(File, OpenFailures) {
  scratchdir_c dir;
  file_c f;
  EXPECT_EQ(0, f.open(nullptr, 0, 0));
  EXPECT_EQ(0, f.create(nullptr, 2));
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
  EXPECT_EQ(0, f.open(dir.file("missing.bin").c_str(), 0, 2));
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.file("missing.bin").c_str())) << "open creates nothing";
  EXPECT_EQ(0, f.create(dir.file("no\\such\\folder.bin").c_str(), 2));
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
}

TEST(File, OpenAndCreateCloseWhatWasOpen) {
  scratchdir_c dir;
  std::string first = dir.file("first.bin"), second = dir.file("second.bin");
  ASSERT_TRUE(writewhole(first, "1"));
  ASSERT_TRUE(writewhole(second, "2"));
  file_c f;
  ASSERT_EQ(1, f.open(first.c_str(), 0, 2));
  ASSERT_EQ(1, f.open(second.c_str(), 0, 2));
  EXPECT_TRUE(othercanopen(first));
  ASSERT_EQ(1, f.create(first.c_str(), 2));
  EXPECT_TRUE(othercanopen(second));
  // A failed open still closes the file it had.
  EXPECT_EQ(0, f.open(dir.file("missing.bin").c_str(), 0, 2));
  EXPECT_TRUE(othercanopen(first));
}

TEST(File, CloseTwice) {
  scratchdir_c dir;
  std::string path = dir.file("c.bin");
  file_c f;
  f.close();
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
  ASSERT_EQ(1, f.create(path.c_str(), 2));
  EXPECT_NE(INVALID_HANDLE_VALUE, f.handle);
  f.close();
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
  f.close();
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
}

TEST(File, AppendStartsAtTheEnd) {
  scratchdir_c dir;
  std::string path = dir.file("a.bin");
  ASSERT_TRUE(writewhole(path, "old content"));
  file_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 2));
  EXPECT_EQ(0, f.tell());
  ASSERT_EQ(1, f.open(path.c_str(), 1, 2));
  EXPECT_EQ(11, f.tell());
  EXPECT_EQ(1, f.write("+new", 4, nullptr));
  f.close();
  EXPECT_EQ("old content+new", readwhole(path));
}

TEST(File, CreateEmptiesAnExistingFile) {
  scratchdir_c dir;
  std::string path = dir.file("e.bin");
  ASSERT_TRUE(writewhole(path, "old content"));
  file_c f;
  ASSERT_EQ(1, f.create(path.c_str(), 2));
  EXPECT_EQ(0, f.tell());
  EXPECT_EQ(1, f.seekend(0));
  EXPECT_EQ(0, f.tell());
  EXPECT_EQ(1, f.write("new", 3, nullptr));
  f.close();
  EXPECT_EQ("new", readwhole(path));
}

TEST(File, ReadNearTheEnd) {
  scratchdir_c dir;
  std::string path = dir.file("r.bin");
  std::string content;
  for (int i = 0; i < 50; ++i) content += (char)('A' + i % 26);
  ASSERT_TRUE(writewhole(path, content));
  file_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));

  char buffer[101];
  memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(1, f.seekend(-10));
  EXPECT_EQ(40, f.tell());
  EXPECT_EQ(0, f.read(buffer, 100, nullptr)) << "without a count out, a short read fails";

  memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(1, f.seekend(-10));
  DWORD got = 12345;
  EXPECT_EQ(1, f.read(buffer, 100, &got));
  EXPECT_EQ(10u, got);
  EXPECT_EQ(content.substr(40), std::string(buffer, 10));
  EXPECT_EQ('#', buffer[10]);

  // At the end: a successful call that moves nothing.
  EXPECT_EQ(1, f.read(buffer, 100, &got));
  EXPECT_EQ(0u, got);

  ASSERT_EQ(1, f.seekend(-10));
  EXPECT_EQ(1, f.read(buffer, 10, nullptr)) << "exactly the count asked for";
  EXPECT_EQ(50, f.tell());
}

TEST(File, SeekAndTellOnAClosedFile) {
  file_c f;
  EXPECT_EQ(-1, f.tell());
  EXPECT_EQ(0, f.seekend(0));
  char byte;
  DWORD got = 7;
  EXPECT_EQ(0, f.read(&byte, 1, &got));
  EXPECT_EQ(0, f.write("x", 1, &got));
}

TEST(File, SeekBeforeTheStartFails) {
  scratchdir_c dir;
  std::string path = dir.file("s.bin");
  ASSERT_TRUE(writewhole(path, "12345"));
  file_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  EXPECT_EQ(0, f.seekend(-6));
  EXPECT_EQ(0, f.tell());
  EXPECT_EQ(1, f.seekend(-5));
  EXPECT_EQ(0, f.tell());
  EXPECT_EQ(1, f.seekend(3));
  EXPECT_EQ(8, f.tell());
}

}  // namespace
