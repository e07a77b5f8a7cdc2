// Recent-file list.
#include "app/RecentFileList.h"

#include <algorithm>
#include <utility>

namespace velkor {

RecentFileList::RecentFileList(std::size_t capacity) : capacity_(capacity) {}

void RecentFileList::setEntries(std::vector<std::string> entries) {
    entries_.clear();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->empty()) {
            add(*it);
        }
    }
}

void RecentFileList::add(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > capacity_) {
        entries_.resize(capacity_);
    }
}

}  // namespace velkor
