#include "toolkit/string.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The byte at index capacity must always be the terminator.
void expectterminated(const string_c& s) {
  ASSERT_NE(s.buffer, nullptr);
  EXPECT_EQ(s.buffer[s.capacity], 0);
}

}  // namespace

TEST(String, CapacityComesInStepsOf128) {
  static const struct {
    int request;
    int capacity;
  } cases[] = {{0, 128}, {2, 128}, {16, 128}, {127, 128}, {128, 256}, {300, 384}, {512, 640}};
  for (const auto& c : cases) {
    string_c s(c.request);
    EXPECT_EQ(s.capacity, c.capacity) << "request " << c.request;
    EXPECT_STREQ(s.buffer, "");
    expectterminated(s);
  }
  string_c empty;
  EXPECT_EQ(empty.capacity, 128);
  EXPECT_STREQ(empty.buffer, "");
}

TEST(String, ReserveOnlyWithoutBuffer) {
  string_c s;
  EXPECT_EQ(s.reserve(1000), 0);
  EXPECT_EQ(s.capacity, 128);
  s.release();
  EXPECT_EQ(s.buffer, nullptr);
  EXPECT_EQ(s.capacity, 0);
  EXPECT_EQ(s.reserve(1000), 1);
  EXPECT_EQ(s.capacity, 1024);
}

TEST(String, AssignAtTheCapacityBoundary) {
  string_c s;
  s.assign(std::string(127, 'a').c_str());
  EXPECT_EQ(s.capacity, 128);
  EXPECT_EQ(std::string(s.buffer), std::string(127, 'a'));
  expectterminated(s);

  s.assign(std::string(128, 'b').c_str());
  EXPECT_EQ(s.capacity, 256);
  EXPECT_EQ(std::string(s.buffer), std::string(128, 'b'));
  expectterminated(s);

  // A shorter text never shrinks the buffer.
  s.assign("x");
  EXPECT_EQ(s.capacity, 256);
  EXPECT_STREQ(s.buffer, "x");
}

TEST(String, AppendAtTheCapacityBoundary) {
  string_c s(std::string(100, 'a').c_str());
  ASSERT_EQ(s.capacity, 128);
  s.append(std::string(27, 'b').c_str());  // 127 characters: fits
  EXPECT_EQ(s.capacity, 128);
  EXPECT_EQ(s.length(), 127);
  s.appendchar('c');  // 128: grows
  EXPECT_EQ(s.capacity, 256);
  EXPECT_EQ(std::string(s.buffer), std::string(100, 'a') + std::string(27, 'b') + "c");
  expectterminated(s);

  s.appendchar(0);
  EXPECT_EQ(s.length(), 128);
}

TEST(String, AppendOwnTextIsSafe) {
  string_c s(std::string(100, 'q').c_str());
  s.append(s);
  EXPECT_EQ(std::string(s.buffer), std::string(200, 'q'));
  s.append(s.buffer + 150);
  EXPECT_EQ(s.length(), 250);
  s.assign(s.buffer + 240);
  EXPECT_EQ(std::string(s.buffer), std::string(10, 'q'));
}

TEST(String, GrowKeepsOrCutsTheText) {
  string_c s(std::string(200, 'z').c_str());
  ASSERT_EQ(s.capacity, 256);
  ASSERT_EQ(s.grow(1000), 1);
  EXPECT_EQ(s.capacity, 1024);
  EXPECT_EQ(s.length(), 200);

  ASSERT_EQ(s.grow(10), 1);
  EXPECT_EQ(s.capacity, 128);
  EXPECT_EQ(std::string(s.buffer), std::string(128, 'z'));
  expectterminated(s);

  char* b = s.getbuffer(300);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(s.capacity, 384);
  // New room is zero-filled.
  for (int i = 128; i <= s.capacity; ++i) ASSERT_EQ(b[i], 0) << i;
}

TEST(String, SetAtAndGetAtStayInside) {
  string_c s("abc");
  EXPECT_EQ(s.setat(1, 'X'), 'X');
  EXPECT_STREQ(s.buffer, "aXc");
  EXPECT_EQ(s.getat(2), 'c');
  EXPECT_EQ(s.setat(-1, 'Y'), 0);
  EXPECT_EQ(s.setat(s.capacity, 'Y'), 0);
  EXPECT_EQ(s.getat(s.capacity), 0);
  EXPECT_EQ(s.getat(-5), 0);
  expectterminated(s);
  s.zero();
  EXPECT_STREQ(s.buffer, "");

  string_c none;
  none.release();
  EXPECT_EQ(none.setat(0, 'a'), 0);
  EXPECT_EQ(none.getat(0), 0);
  none.zero();
  none.ensuretrailing('\\');
  EXPECT_EQ(none.buffer, nullptr);
}

TEST(String, EnsureTrailing) {
  static const struct {
    const char* text;
    const char* expected;
  } cases[] = {{"C:\\dir", "C:\\dir\\"}, {"C:\\dir\\", "C:\\dir\\"}, {"", "\\"}};
  for (const auto& c : cases) {
    string_c s(c.text);
    s.ensuretrailing('\\');
    EXPECT_STREQ(s.buffer, c.expected) << c.text;
  }
}

TEST(String, CopiesOwnTheirBuffers) {
  string_c a("hello");
  string_c b(a);
  EXPECT_NE(a.buffer, b.buffer);
  b.setat(0, 'J');
  EXPECT_STREQ(a.buffer, "hello");
  a = b;
  EXPECT_STREQ(a.buffer, "Jello");
  a = a;
  EXPECT_STREQ(a.buffer, "Jello");
}

TEST(String, WideAndNarrowConvert) {
  string_c n(L"Fax \x00e9t\x00e9");  // in the ANSI code page of the prefix (1252)
  EXPECT_STREQ(n.buffer, "Fax \xe9t\xe9");
  wstring_c w("Fax \xe9t\xe9");
  EXPECT_STREQ(w.buffer, L"Fax \x00e9t\x00e9");
  w.append(" ok");
  w.append(L"!");
  EXPECT_STREQ(w.buffer, L"Fax \x00e9t\x00e9 ok!");
  EXPECT_EQ(w.capacity, 128);
  EXPECT_EQ(w.buffer[w.capacity], 0);
}

TEST(WideString, CapacityAndBoundaries) {
  wstring_c w(std::wstring(127, L'a').c_str());
  EXPECT_EQ(w.capacity, 128);
  w.append(L"b");
  EXPECT_EQ(w.capacity, 256);
  EXPECT_EQ(w.length(), 128);
  EXPECT_EQ(w.buffer[w.capacity], 0);
  ASSERT_EQ(w.grow(5), 1);
  EXPECT_EQ(w.capacity, 128);
  EXPECT_EQ(w.length(), 128);
  w.append(w);
  EXPECT_EQ(w.length(), 256);
  EXPECT_EQ(w.capacity, 384);
}

TEST(StrFormat, GrowsTo640AndBeyondWhenNeeded) {
  string_c small;
  strformat(small, "%s-%d", "abc", 42);
  EXPECT_EQ(small.capacity, 640);
  EXPECT_STREQ(small.buffer, "abc-42");

  string_c big(1000);
  ASSERT_EQ(big.capacity, 1024);
  strformat(big, "%08lX.%s", 0x3D27848ul, "tif");
  EXPECT_EQ(big.capacity, 1024);
  EXPECT_STREQ(big.buffer, "03D27848.tif");

  // Longer than 640: grows to fit rather than writing past the buffer.
  std::string longtext(2000, 'L');
  string_c s;
  strformat(s, "<%s>", longtext.c_str());
  EXPECT_EQ(s.length(), 2002);
  EXPECT_GE(s.capacity, 2002);
  EXPECT_EQ(s.buffer[s.capacity], 0);
  EXPECT_EQ(std::string(s.buffer), "<" + longtext + ">");

  // The string's own text as an argument.
  string_c self("C:\\root");
  strformat(self, "%s\\%s\\%s", self.buffer, std::string(700, 'd').c_str(), "mailbox.rlb");
  EXPECT_EQ(std::string(self.buffer), "C:\\root\\" + std::string(700, 'd') + "\\mailbox.rlb");
}

TEST(StrFormat, WideFormatsGrowToo) {
  wstring_c w;
  wstrformat(w, L"%s=%d", L"ScanTime", 5);
  EXPECT_EQ(w.capacity, 640);
  EXPECT_STREQ(w.buffer, L"ScanTime=5");

  std::wstring longtext(1500, L'W');
  wstrformat(w, L"[%s]", longtext.c_str());
  EXPECT_EQ(w.length(), 1502);
  EXPECT_EQ(w.buffer[w.capacity], 0);
  EXPECT_EQ(std::wstring(w.buffer), L"[" + longtext + L"]");
}
