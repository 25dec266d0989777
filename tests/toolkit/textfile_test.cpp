#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/testsupport.h"
#include "toolkit/textfile.h"

namespace {

// Every line readline gives until -1; each result must be the target's length.
std::vector<std::string> readlines(textfile_c& f) {
  std::vector<std::string> lines;
  string_c line;
  for (int guard = 0; guard < 10000; ++guard) {
    int n = f.readline(line);
    if (n < 0) {
      EXPECT_EQ(-1, n);
      return lines;
    }
    EXPECT_EQ((int)strlen(line.buffer), n);
    lines.push_back(line.buffer);
  }
  ADD_FAILURE() << "readline never reached the end";
  return lines;
}

std::vector<std::string> linesof(const std::string& path) {
  textfile_c f;
  EXPECT_EQ(1, f.open(path.c_str(), 0, 0));
  return readlines(f);
}

TEST(TextFile, ConstructionClearsTheBlock) {
  textfile_c f;
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.handle);
  EXPECT_EQ(0, f.filled);
  EXPECT_EQ(0, f.index);
  EXPECT_EQ(0, f.linestart);
  for (char byte : f.block) ASSERT_EQ(0, byte);
}

TEST(TextFile, LineEnds) {
  const std::string x255(255, 'x'), y300(300, 'y'), z1000(1000, 'z');
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"empty line between two CR LF", "A\r\n\r\nB", {"A", "", "B"}},
      {"LF alone stays in the line", "A\nB\r\n", {"A\nB"}},
      {"CR alone stays in the line", "A\rB\r\n", {"A\rB"}},
      {"CR before CR LF stays", "A\r\r\nB", {"A\r", "B"}},
      {"LF CR is no line end", "A\n\rB", {"A\n\rB"}},
      {"CR at the very end stays", "A\r", {"A\r"}},
      {"last line without CR LF", "A\r\nB", {"A", "B"}},
      {"last line with CR LF", "A\r\nB\r\n", {"A", "B"}},
      {"only CR LF", "\r\n", {""}},
      {"two empty lines", "\r\n\r\n", {"", ""}},
      {"empty file", "", {}},
      {"CR LF split across blocks", x255 + "\r\n" + "y", {x255, "y"}},
      {"CR LF just after a block", std::string(256, 'x') + "\r\nq", {std::string(256, 'x'), "q"}},
      {"line across blocks", y300 + "\r\n" + z1000 + "\r\nend", {y300, z1000, "end"}},
      {"long last line", z1000, {z1000}},
  };
  scratchdir_c dir;
  std::string path = dir.file("lines.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(writewhole(path, c.bytes));
    EXPECT_EQ(c.lines, linesof(path));
  }
}

TEST(TextFile, LineResultsAndTheEnd) {
  scratchdir_c dir;
  std::string path = dir.file("r.txt");
  ASSERT_TRUE(writewhole(path, std::string("A\r\n\r\nB")));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  EXPECT_EQ(1, f.readline(line));
  EXPECT_STREQ("A", line.buffer);
  EXPECT_EQ(0, f.readline(line));
  EXPECT_STREQ("", line.buffer);
  EXPECT_EQ(1, f.readline(line));
  EXPECT_STREQ("B", line.buffer);
  EXPECT_EQ(-1, f.readline(line));
  EXPECT_STREQ("", line.buffer);
  EXPECT_EQ(-1, f.readline(line)) << "and it stays at the end";
}

TEST(TextFile, LoneLineFeedIsPartOfTheLine) {
  scratchdir_c dir;
  std::string path = dir.file("lf.txt");
  ASSERT_TRUE(writewhole(path, std::string("A\nB\r\n")));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  EXPECT_EQ(3, f.readline(line));
  EXPECT_EQ(0, memcmp(line.buffer, "A\nB", 4));
  EXPECT_EQ(-1, f.readline(line));
}

TEST(TextFile, LongLineGrowsTheTarget) {
  scratchdir_c dir;
  std::string path = dir.file("long.txt");
  std::string text;
  for (int i = 0; i < 100000; ++i) text += (char)('a' + i % 26);
  ASSERT_TRUE(writewhole(path, text + "\r\nnext\r\n"));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line("prior text");
  ASSERT_EQ(100000, f.readline(line));
  EXPECT_EQ(text, line.buffer);
  EXPECT_GT(line.capacity, 100000);
  EXPECT_EQ(0, line.buffer[line.capacity]);
  EXPECT_EQ(4, f.readline(line));
  EXPECT_STREQ("next", line.buffer) << "the long line's bytes are gone";
}

TEST(TextFile, NulBytesAddNothing) {
  scratchdir_c dir;
  std::string path = dir.file("zeros.txt");
  ASSERT_TRUE(writewhole(path, std::string("A\0B\r\n\0\r\n\r\0\n", 11)));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  EXPECT_EQ(2, f.readline(line));
  EXPECT_STREQ("AB", line.buffer);
  EXPECT_EQ(0, f.readline(line));
  // A NUL between CR and LF keeps them apart.
  EXPECT_EQ(2, f.readline(line));
  EXPECT_STREQ("\r\n", line.buffer);
  EXPECT_EQ(-1, f.readline(line));
}

TEST(TextFile, LineStart) {
  scratchdir_c dir;
  std::string path = dir.file("start.txt");
  ASSERT_TRUE(writewhole(path, std::string("A\r\nBB\r\n")));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  ASSERT_EQ(1, f.readline(line));
  EXPECT_EQ(0, f.linestart);
  ASSERT_EQ(2, f.readline(line));
  EXPECT_STREQ("BB", line.buffer);
  EXPECT_EQ(3, f.linestart);
  EXPECT_EQ(-1, f.readline(line));
  EXPECT_EQ(7, f.linestart);
}

TEST(TextFile, LineStartAcrossBlocks) {
  // Lines of 100 characters and CR LF start every 102 bytes, some of them inside a later block.
  scratchdir_c dir;
  std::string path = dir.file("starts.txt");
  std::string content;
  for (int i = 0; i < 12; ++i) content += std::string(100, (char)('a' + i)) + "\r\n";
  ASSERT_TRUE(writewhole(path, content));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  for (int i = 0; i < 12; ++i) {
    ASSERT_EQ(100, f.readline(line));
    EXPECT_EQ(102 * i, f.linestart) << i;
    EXPECT_EQ(content.substr(102 * i, 100), line.buffer);
  }
}

TEST(TextFile, ReadsWholeBlocks) {
  scratchdir_c dir;
  std::string path = dir.file("blocks.txt");
  ASSERT_TRUE(writewhole(path, "first\r\n" + std::string(1000, 'x')));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 0, 0));
  string_c line;
  ASSERT_EQ(5, f.readline(line));
  EXPECT_EQ(256, f.tell()) << "one block read for the first line";
  EXPECT_EQ(256, f.filled);
  EXPECT_EQ(7, f.index);
  ASSERT_EQ(1000, f.readline(line));
  EXPECT_EQ(1007, f.tell());
}

TEST(TextFile, ClosedFileHasNoLines) {
  textfile_c f;
  string_c line("old");
  EXPECT_EQ(-1, f.readline(line));
  EXPECT_EQ(-1, f.linestart);
  EXPECT_STREQ("", line.buffer);
}

TEST(TextFile, OpeningAnotherFileDropsTheBlock) {
  scratchdir_c dir;
  std::string one = dir.file("one.txt"), two = dir.file("two.txt");
  ASSERT_TRUE(writewhole(one, "one-a\r\none-b\r\n"));
  ASSERT_TRUE(writewhole(two, "two-a\r\ntwo-b\r\n"));
  textfile_c f;
  string_c line;
  ASSERT_EQ(1, f.open(one.c_str(), 0, 0));
  ASSERT_EQ(5, f.readline(line));
  ASSERT_GT(f.filled, 0);

  ASSERT_EQ(1, f.open(two.c_str(), 0, 0));
  EXPECT_EQ(0, f.filled);
  EXPECT_EQ(0, f.index);
  EXPECT_EQ(0, f.linestart);
  for (char byte : f.block) ASSERT_EQ(0, byte);
  EXPECT_EQ((std::vector<std::string>{"two-a", "two-b"}), readlines(f));

  ASSERT_EQ(1, f.open(one.c_str(), 0, 0));
  ASSERT_EQ(5, f.readline(line));
  ASSERT_EQ(1, f.create(two.c_str(), 2));
  EXPECT_EQ(0, f.filled);
  EXPECT_EQ(-1, f.readline(line)) << "the new file is empty, the old block is gone";

  f.close();
  EXPECT_EQ(0, f.filled);
  EXPECT_EQ(0, f.index);
  EXPECT_EQ(0, f.linestart);
}

TEST(TextFile, WriteLine) {
  scratchdir_c dir;
  std::string path = dir.file("w.txt");
  textfile_c f;
  ASSERT_EQ(1, f.create(path.c_str(), 2));
  EXPECT_EQ(-1, f.writeline(nullptr));
  EXPECT_EQ(3, f.writeline("abc"));
  EXPECT_EQ(0, f.writeline(""));
  EXPECT_EQ(5, f.writeline("a\nb\rc"));
  f.close();
  EXPECT_EQ("abc\r\n\r\na\nb\rc\r\n", readwhole(path));
}

TEST(TextFile, WriteLineFailures) {
  scratchdir_c dir;
  std::string path = dir.file("ro.txt");
  ASSERT_TRUE(writewhole(path, "keep\r\n"));
  textfile_c f;
  EXPECT_EQ(0, f.writeline("closed"));
  ASSERT_EQ(1, f.open(path.c_str(), 1, 0));
  EXPECT_EQ(0, f.writeline("read only"));
  f.close();
  EXPECT_EQ("keep\r\n", readwhole(path));
}

TEST(TextFile, AppendAddsAfterTheOldContent) {
  scratchdir_c dir;
  std::string path = dir.file("app.txt");
  ASSERT_TRUE(writewhole(path, "old\r\n"));
  textfile_c f;
  ASSERT_EQ(1, f.open(path.c_str(), 1, 2));
  EXPECT_EQ(3, f.writeline("new"));
  f.close();
  EXPECT_EQ("old\r\nnew\r\n", readwhole(path));

  ASSERT_EQ(1, f.create(path.c_str(), 2));
  EXPECT_EQ(3, f.writeline("new"));
  f.close();
  EXPECT_EQ("new\r\n", readwhole(path));
}

TEST(TextFile, WrittenLinesReadBack) {
  scratchdir_c dir;
  std::string path = dir.file("round.txt");
  std::vector<std::string> lines = {"", "one", std::string(700, 'q'), "a\nb", "tab\there", "", "last"};
  textfile_c f;
  ASSERT_EQ(1, f.create(path.c_str(), 2));
  for (const auto& l : lines) EXPECT_EQ((int)l.size(), f.writeline(l.c_str()));
  f.close();
  EXPECT_EQ(lines, linesof(path));
}

}  // namespace
