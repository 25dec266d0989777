#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Text, CleanUpInPlace) {
  static const struct {
    const char* name;
    void (*op)(char*);
    const char* input;
    const char* expected;
  } cases[] = {
      {"trimleft", trimleft, " \t\r\n\v\fabc  ", "abc  "},
      {"trimright", trimright, "  abc \t\r\n\v\f", "  abc"},
      {"trim", trim, "\t a b \n", "a b"},
      {"trim", trim, " \t ", ""},
      {"removespaces", removespaces, " a\tb\r\nc d ", "abcd"},
  };
  for (const auto& c : cases) {
    char buffer[64];
    strcpy(buffer, c.input);
    c.op(buffer);
    EXPECT_STREQ(buffer, c.expected) << c.name << " of \"" << c.input << "\"";
    c.op(nullptr);
  }
}

TEST(Text, RemoveCharsAndDropLeft) {
  char machine[32] = "\\\\FAXSRV/";
  removechars(machine, "\\/");
  EXPECT_STREQ(machine, "FAXSRV");

  char text[16] = "abcdef";
  dropleft(text, 2);
  EXPECT_STREQ(text, "cdef");
  dropleft(text, 0);
  dropleft(text, -3);
  dropleft(text, 5);  // more than the length: unchanged
  EXPECT_STREQ(text, "cdef");
  dropleft(text, 4);
  EXPECT_STREQ(text, "");
}

TEST(Text, EmptyTexts) {
  EXPECT_EQ(isemptytext(nullptr), 1);
  EXPECT_EQ(isemptytext(""), 1);
  EXPECT_EQ(isemptytext(" "), 0);
  EXPECT_EQ(isemptytextw(nullptr), 1);
  EXPECT_EQ(isemptytextw(L""), 1);
  EXPECT_EQ(isemptytextw(L"x"), 0);
}

TEST(Text, FindNoCase) {
  const char* text = "Subject: Invoice @RAVELINK";
  EXPECT_EQ(findnocase(text, "@ravelink"), text + 17);
  EXPECT_EQ(findnocase(text, "SUBJECT"), text);
  EXPECT_EQ(findnocase(text, ""), text);
  EXPECT_EQ(findnocase(text, "ravelinkx"), nullptr);
  EXPECT_EQ(findnocase("", "a"), nullptr);
  EXPECT_EQ(findnocase(nullptr, "a"), nullptr);
}

TEST(Text, ConversionsWriteOnlyTheTextAndTerminator) {
  // Sentinels after the result must survive: the converter may not copy its whole temporary.
  char narrow[32];
  memset(narrow, '#', sizeof narrow);
  wchar_t source[] = L"Fax";
  tonarrow(source, narrow);
  EXPECT_STREQ(narrow, "Fax");
  for (size_t i = 4; i < sizeof narrow; ++i) ASSERT_EQ(narrow[i], '#') << i;

  wchar_t wide[32];
  for (auto& u : wide) u = L'#';
  char fax[] = "Fax \xe9";
  towide(fax, wide);
  EXPECT_STREQ(wide, L"Fax \x00e9");
  for (size_t i = 6; i < 32; ++i) ASSERT_EQ(wide[i], L'#') << i;
}

TEST(Text, ConversionsInPlace) {
  wchar_t wide[16] = L"Inbox";
  tonarrow(wide, nullptr);
  EXPECT_STREQ(reinterpret_cast<char*>(wide), "Inbox");

  union {
    char narrow[32];
    wchar_t units[16];
  } both;
  strcpy(both.narrow, "Outbox \xe9");
  towide(both.narrow, nullptr);
  EXPECT_STREQ(both.units, L"Outbox \x00e9");
}

TEST(Text, DateAndTimeTexts) {
  SYSTEMTIME t = {};
  t.wYear = 2004;
  t.wMonth = 12;
  t.wDay = 9;
  t.wHour = 19;
  t.wMinute = 25;
  t.wSecond = 31;
  char date[64], clock[64], both[128];
  ASSERT_EQ(datetext(date, sizeof date, &t, 0), 1);
  ASSERT_EQ(timetext(clock, sizeof clock, &t), 1);
  ASSERT_EQ(datetimetext(both, sizeof both, &t, 0), 1);
  EXPECT_EQ(std::string(both), std::string(date) + " " + clock);
  EXPECT_NE(std::string(date).find("2004"), std::string::npos);

  char longdate[64];
  ASSERT_EQ(datetext(longdate, sizeof longdate, &t, 1), 1);
  EXPECT_GT(strlen(longdate), strlen(date));

  // A date the system cannot format leaves the output untouched.
  SYSTEMTIME bad = t;
  bad.wMonth = 13;
  strcpy(both, "untouched");
  EXPECT_EQ(datetimetext(both, sizeof both, &bad, 0), 0);
  EXPECT_STREQ(both, "untouched");

  // The current time.
  EXPECT_EQ(datetimetext(both, sizeof both, nullptr, 0), 1);
  EXPECT_GT(strlen(both), 8u);

  // The output is cut to its size.
  char small[6];
  ASSERT_EQ(datetimetext(small, sizeof small, &t, 0), 1);
  EXPECT_EQ(strlen(small), 5u);
}

TEST(Text, ErrorTextIsOneLine) {
  char text[512];
  ASSERT_EQ(errortext(text, sizeof text, ERROR_FILE_NOT_FOUND, nullptr), 1);
  EXPECT_GT(strlen(text), 0u);
  EXPECT_EQ(strpbrk(text, "\r\n"), nullptr);

  // Find a system message of several lines and check it comes back joined.
  bool found = false;
  for (DWORD code = 1; code < 16000 && !found; ++code) {
    char* raw = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&raw),
                             0, nullptr);
    if (n == 0 || !raw) continue;
    std::string message(raw);
    LocalFree(raw);
    std::string body = message.substr(0, message.find_last_not_of("\r\n") + 1);
    if (body.find('\n') == std::string::npos) continue;
    found = true;
    std::string joined;
    for (char c : message)
      if (c != '\r' && c != '\n') joined += c;
    char out[2048];
    ASSERT_EQ(errortext(out, sizeof out, code, nullptr), 1);
    EXPECT_EQ(std::string(out), joined) << "code " << code;
  }
  if (!found) GTEST_SKIP() << "no system message of several lines in this runtime";

  EXPECT_EQ(errortext(text, sizeof text, 0x3FFFFFFF, nullptr), 0);
  char small[8];
  ASSERT_EQ(errortext(small, sizeof small, ERROR_FILE_NOT_FOUND, nullptr), 1);
  EXPECT_EQ(strlen(small), 7u);
}
