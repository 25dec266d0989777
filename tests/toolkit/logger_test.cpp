#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/testsupport.h"
#include "toolkit/logger.h"
#include "toolkit/text.h"

namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The lines of a log file; every line must end with CR LF.
std::vector<std::string> loglines(const std::string& path) {
  std::string content = readwhole(path);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "no CR LF after: " << content.substr(start, 60);
      break;
    }
    lines.push_back(content.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The message of an entry: what follows the date, the time and " - ".
std::string messageof(const std::string& line) {
  size_t dash = line.find(" - ");
  return dash == std::string::npos ? "(no separator)" : line.substr(dash + 3);
}

std::vector<std::string> messagesof(const std::string& path) {
  std::vector<std::string> out;
  for (const auto& l : loglines(path)) out.push_back(messageof(l));
  return out;
}

std::string nowtext() {
  char text[128] = "";
  EXPECT_EQ(1, datetimetext(text, sizeof text, nullptr, 0));
  return text;
}

std::string explicitname(const std::string& path) { return "path://" + path; }

std::string modulefolder(HMODULE module) {
  char self[MAX_PATH + 1] = "";
  GetModuleFileNameA(module, self, sizeof self);
  std::string p = self;
  return p.substr(0, p.find_last_of('\\') + 1);
}

TEST(Logger, ConstructionClears) {
  logger_c log;
  EXPECT_EQ(0, log.enabled);
  EXPECT_EQ(INVALID_HANDLE_VALUE, log.file.handle);
  for (char c : log.path) ASSERT_EQ(0, c);
  for (char c : log.line) ASSERT_EQ(0, c);
}

TEST(Logger, ExplicitPath) {
  scratchdir_c dir;
  std::string path = dir.file("x.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  EXPECT_EQ(1, log.enabled);
  EXPECT_EQ(path, log.path);
  EXPECT_FALSE(exists(path)) << "init creates nothing";

  std::string before = nowtext();
  log.log("hello %d %s", 42, "there");
  std::string after = nowtext();
  std::vector<std::string> lines = loglines(path);
  ASSERT_EQ(1u, lines.size());
  EXPECT_TRUE(lines[0] == before + " - hello 42 there" || lines[0] == after + " - hello 42 there") << lines[0];
}

TEST(Logger, ExplicitPathIsCutTo260Characters) {
  std::string longpath = "C:\\" + std::string(300, 'p');
  logger_c log;
  log.init(explicitname(longpath).c_str(), 0, nullptr);
  EXPECT_EQ(1, log.enabled);
  EXPECT_EQ(longpath.substr(0, 260), log.path);
}

TEST(Logger, NameNextToTheModule) {
  std::string unique = std::to_string(GetCurrentProcessId());
  const struct {
    const char* what;
    HMODULE module;
    std::string name;
  } cases[] = {
      {"null module: the program", nullptr, "filestest" + unique},
      {"the program's own handle", GetModuleHandleA(nullptr), "filestest" + unique},
      {"a dotted name keeps its dot", nullptr, "files.test" + unique},
      {"a library", GetModuleHandleA("kernel32.dll"), "prepkit2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(std::string(), modulefolder(c.module));
    logger_c log;
    log.init(c.name.c_str(), 0, c.module);
    EXPECT_EQ(1, log.enabled);
    EXPECT_EQ(modulefolder(c.module) + "lt" + c.name + ".txt", log.path);
  }
}

TEST(Logger, LogsNextToTheProgram) {
  std::string name = "filestest" + std::to_string(GetCurrentProcessId());
  std::string path = modulefolder(nullptr) + "lt" + name + ".txt";
  DeleteFileA(path.c_str());
  {
    logger_c log;
    log.init(name.c_str(), 0, nullptr);
    log.log("next to the program");
  }
  EXPECT_EQ(std::vector<std::string>{"next to the program"}, messagesof(path));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(Logger, NameTooLongLeavesTheLogOff) {
  logger_c log;
  log.init(std::string(300, 'n').c_str(), 0, nullptr);
  EXPECT_EQ(0, log.enabled);
}

TEST(Logger, SecondInitChangesNothing) {
  scratchdir_c dir;
  std::string first = dir.file("first.txt"), second = dir.file("second.txt");
  ASSERT_TRUE(writewhole(first, "1/1/2000 1:00:00 AM - old first\r\n"));
  ASSERT_TRUE(writewhole(second, "1/1/2000 1:00:00 AM - old second\r\n"));
  logger_c log;
  log.init(explicitname(first).c_str(), 0, nullptr);
  log.init(explicitname(second).c_str(), 1, nullptr);
  log.init(explicitname(first).c_str(), 1, nullptr);
  log.init("othername", 1, nullptr);
  EXPECT_EQ(first, log.path);
  log.log("entry");
  EXPECT_EQ((std::vector<std::string>{"old first", "entry"}), messagesof(first));
  EXPECT_EQ("1/1/2000 1:00:00 AM - old second\r\n", readwhole(second));
}

TEST(Logger, Truncate) {
  const struct {
    int truncate;
    std::vector<std::string> expected;
  } cases[] = {
      {0, {"old entry", "new entry"}},
      {1, {"new entry"}},
  };
  scratchdir_c dir;
  std::string path = dir.file("t.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.truncate);
    ASSERT_TRUE(writewhole(path, "1/1/2000 1:00:00 AM - old entry\r\n"));
    logger_c log;
    log.init(explicitname(path).c_str(), c.truncate, nullptr);
    EXPECT_EQ(!c.truncate, exists(path)) << "the old log goes at init, before the first entry";
    log.log("new entry");
    EXPECT_EQ(c.expected, messagesof(path));
  }
}

TEST(Logger, NothingBeforeInitOrWithoutAName) {
  scratchdir_c dir;
  std::string path = dir.file("n.txt");
  logger_c log;
  log.log("before init");
  log.init(nullptr, 1, nullptr);
  EXPECT_EQ(0, log.enabled);
  log.log("after a null name");
  log.init(explicitname(path).c_str(), 0, nullptr);
  log.log(nullptr);
  EXPECT_FALSE(exists(path));
  log.log("first");
  EXPECT_EQ(std::vector<std::string>{"first"}, messagesof(path));
}

TEST(Logger, EntryStartsWithDateAndTime) {
  scratchdir_c dir;
  std::string path = dir.file("d.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  std::string before = nowtext();
  log.log("%s", "");
  std::string after = nowtext();
  std::vector<std::string> lines = loglines(path);
  ASSERT_EQ(1u, lines.size());
  EXPECT_TRUE(lines[0] == before + " - " || lines[0] == after + " - ") << lines[0];
}

TEST(Logger, LongMessagesAreCut) {
  scratchdir_c dir;
  std::string path = dir.file("long.txt");
  std::string message;
  for (int i = 0; i < 3000; ++i) message += (char)('a' + i % 26);
  // Lengths around the limit, counted from the length of the date, the time and " - " now.
  const int prefix = (int)nowtext().size() + 3;
  const int lengths[] = {10, 2046 - prefix, 2047 - prefix, 2048 - prefix, 2100 - prefix, 3000};
  for (int length : lengths) {
    SCOPED_TRACE(length);
    DeleteFileA(path.c_str());
    logger_c log;
    log.init(explicitname(path).c_str(), 0, nullptr);
    log.log("%s", message.substr(0, length).c_str());
    EXPECT_EQ(1, log.enabled) << "nothing is written past the line";
    EXPECT_EQ(path, log.path);
    std::vector<std::string> lines = loglines(path);
    ASSERT_EQ(1u, lines.size());
    int written = (int)lines[0].size();
    int wrotePrefix = written - (int)messageof(lines[0]).size();
    EXPECT_EQ(std::min(wrotePrefix + length, 2047), written);
    EXPECT_EQ(message.substr(0, written - wrotePrefix), messageof(lines[0]));
    EXPECT_EQ((size_t)written + 2, readwhole(path).size());
  }
}

TEST(Logger, ThreeThousandCharactersGiveOneLineOf2047) {
  scratchdir_c dir;
  std::string path = dir.file("3000.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  log.log("%s", std::string(3000, 'm').c_str());
  std::string content = readwhole(path);
  ASSERT_EQ(2049u, content.size());
  EXPECT_EQ("\r\n", content.substr(2047));
  EXPECT_EQ(std::string::npos, content.substr(0, 2047).find_first_of("\r\n"));
  EXPECT_EQ('m', content[2046]);
  EXPECT_EQ(0, log.line[2047]);
}

TEST(Logger, EntriesAreVisibleBetweenWrites) {
  scratchdir_c dir;
  std::string path = dir.file("v.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  std::vector<std::string> expected;
  for (const char* entry : {"one", "two", "three"}) {
    log.log("%s", entry);
    expected.push_back(entry);
    EXPECT_EQ(INVALID_HANDLE_VALUE, log.file.handle) << "closed after the entry";
    // Another program may even have the log to itself between entries.
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, other);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_EQ(expected, messagesof(path));
  }
}

TEST(Logger, EntryIsLostWhileAnotherHoldsTheLog) {
  scratchdir_c dir;
  std::string path = dir.file("held.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  log.log("before");
  HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, other);
  log.log("lost");
  CloseHandle(other);
  log.log("after");
  EXPECT_EQ((std::vector<std::string>{"before", "after"}), messagesof(path)) << "dropped, and nothing emptied";
}

TEST(Logger, CreatesTheLogAgainWhenItWasRemoved) {
  scratchdir_c dir;
  std::string path = dir.file("again.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  log.log("first");
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  log.log("second");
  EXPECT_EQ(std::vector<std::string>{"second"}, messagesof(path));
}

TEST(Logger, MissingFolderDropsEntries) {
  scratchdir_c dir;
  std::string path = dir.file("no\\such\\log.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 1, nullptr);
  EXPECT_EQ(1, log.enabled);
  log.log("nowhere");
  EXPECT_FALSE(exists(path));
  EXPECT_EQ(INVALID_HANDLE_VALUE, log.file.handle);
}

TEST(Logger, WritesThroughAFileTheCallerKeepsOpen) {
  scratchdir_c dir;
  std::string path = dir.file("open.txt");
  logger_c log;
  log.init(explicitname(path).c_str(), 0, nullptr);
  ASSERT_EQ(1, log.file.create(path.c_str(), 2));
  log.log("kept open %d", 1);
  log.log("kept open %d", 2);
  EXPECT_NE(INVALID_HANDLE_VALUE, log.file.handle) << "a file the caller opened stays open";
  log.file.close();
  EXPECT_EQ((std::vector<std::string>{"kept open 1", "kept open 2"}), messagesof(path));
}

}  // namespace
