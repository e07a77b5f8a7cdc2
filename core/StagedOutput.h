// An output of one or several files (what a GIS writer makes: the named file and its
// sidecars), replaced as one set. Each part is written by SafeFileWriter (links, modes and
// read-only files as for any file) and made whole and synced on disk before anything is
// replaced; then a small journal beside the target lists the set, the old files are moved
// aside and the new ones moved in. A failed move puts the old set back; after a kill, the
// next write of the same target finishes the set the journal lists (or puts the old one
// back, when it was doing that) before it starts.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/SafeFileWriter.h"
#include "core/SetJournal.h"

namespace velkor {

class StagedOutput {
  public:
    explicit StagedOutput(std::string target);
    // Removes every temporary file still there, and the journal when it lists nothing.
    ~StagedOutput() = default;
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // Takes the target's journal (waiting for another writer of the same target) and
    // settles what a killed write left; false and a message when the target's folder
    // cannot be written, or the target is there but no regular file (a device, a folder):
    // a rename would put the file in its place.
    bool open(std::string& message);
    // Writes one part: the target itself, or a sidecar, named as a file in the target's
    // folder. An existing sidecar is replaced only when it belongs to the output being
    // replaced: the target exists and no other dataset of that base name may own it.
    // False and a message when it is refused or any write fails (a full disk).
    bool put(const std::string& fileName, const void* data, std::size_t size, std::string& message);
    // Replaces the old files by every part put, all or none.
    bool commit(std::string& message);

    // Called with each part's file before it is moved in: a test's place to fail or stop.
    void beforeEachMove(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

    // "Write error: <target>: <reason>", the way every GIS file failure is told.
    static std::string failure(const std::string& target, const std::string& reason);

  private:
    bool belongs(const std::string& fileName) const;
    std::vector<SetJournal::Entry> set() const;
    // Moves the set in; on a failed move the old set goes back, false and a message.
    bool move(const std::vector<SetJournal::Entry>& set, std::string& message);

    std::string target_;
    std::string folder_;
    SetJournal journal_;
    bool opened_ = false;
    std::vector<std::unique_ptr<SafeFileWriter>> parts_;
    std::function<void(const std::string&)> hook_;
};

}  // namespace velkor
