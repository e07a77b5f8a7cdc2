// The record of a set of files being replaced together, kept beside the set's named file
// while the files are moved, so that a write killed halfway is finished (or undone, when
// it was undoing) by the next write of the same target. Holding it open is holding the
// target: a second writer waits.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class SetJournal {
  public:
    // One file of the set: where it goes, its new content's temporary file, where the old
    // file is moved aside, and whether there was an old file.
    struct Entry {
        std::string file;
        std::string fresh;
        std::string old;
        bool existed = false;
    };
    enum class Direction { Forward, Back };

    explicit SetJournal(const std::string& target);
    // Goes when it lists nothing, so a finished write leaves no trace.
    ~SetJournal();
    SetJournal(const SetJournal&) = delete;
    SetJournal& operator=(const SetJournal&) = delete;

    // Takes the journal and settles the set a killed write left in it; false and the
    // reason when it cannot be made, or is there but not this user's.
    bool open(std::string& reason);
    // Records the set and the way it goes, on disk before the first move.
    bool record(Direction direction, const std::vector<Entry>& set);
    // Nothing pending any more.
    void clear();
    // Moves every file of the set the given way, skipping what is done already.
    static void settle(Direction direction, const std::vector<Entry>& set);

    const std::string& path() const { return path_; }

  private:
    bool lock(std::string& reason);
    void recover();

    std::string path_;
    int fd_ = -1;
};

}  // namespace velkor
