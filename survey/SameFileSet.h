// Paths told apart as sameFile tells two of them apart, many at once: each path is tidied
// and looked up on disk once, so that n paths take n look-ups, not one for every pair.
#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <unordered_set>
#include <utility>

namespace velkor {

class SameFileSet {
  public:
    // Takes path; false when it names a file taken already (the same path once tidied, or
    // the same file on disk), and then it is not taken again.
    bool add(const std::string& path);

  private:
    std::unordered_set<std::string> tidied_;
    std::set<std::pair<dev_t, ino_t>> files_;
};

}  // namespace velkor
