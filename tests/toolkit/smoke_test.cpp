#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, RunsUnderWindowsRuntime) {
  char name[64]; DWORD size = sizeof name;
  EXPECT_TRUE(GetComputerNameA(name, &size));
}
