#pragma once
// Shared test fixtures: a scratch folder per test, files written and read whole.
#include <string>

// A fresh empty folder under the prefix's temporary folder, removed with everything in it
// when the object goes away.
class scratchdir_c {
public:
  scratchdir_c();
  ~scratchdir_c();
  scratchdir_c(const scratchdir_c&) = delete;
  scratchdir_c& operator=(const scratchdir_c&) = delete;
  const std::string& path() const { return dir; }
  std::string file(const std::string& name) const { return dir + "\\" + name; }
private:
  std::string dir;
};

bool writewhole(const std::string& path, const std::string& bytes);
std::string readwhole(const std::string& path);
bool removetree(const std::string& path);
// Full path of a program built next to the running test program.
std::string siblingpath(const std::string& name);
