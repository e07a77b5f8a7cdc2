// The most recently opened data files, newest first.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class RecentFileList {
  public:
    explicit RecentFileList(std::size_t capacity);

    void setEntries(std::vector<std::string> entries);
    // Puts path first; an older entry for the same path goes, the oldest falls off.
    void add(const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }

  private:
    std::size_t capacity_;
    std::vector<std::string> entries_;
};

}  // namespace velkor
