#pragma once
// Reading the helper program's result files: "key value" lines and "freed W N" lines.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace storetest {

struct results_c {
  std::map<std::string, long long> values;
  std::set<std::pair<int, int>> freed;
  std::set<int> failedseqs;
  int freedtwice = 0;
  bool loaded = false;

  bool load(const std::string& path) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string key;
      words >> key;
      if (key == "freed") {
        int w, n;
        words >> w >> n;
        if (!freed.insert({w, n}).second) ++freedtwice;
      } else if (key == "failedseqs") {
        int n;
        while (words >> n) failedseqs.insert(n);
      } else {
        long long v = 0;
        words >> v;
        values[key] += v;
      }
    }
    loaded = true;
    return true;
  }
  long long get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? -1 : it->second;
  }
};

}  // namespace storetest
