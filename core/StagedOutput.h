// An output of one or several files (what a GIS writer makes), staged in a fresh folder
// beside its target and moved over the target only when the whole of it was written; each
// file's bytes go through SafeFileWriter. A format of several files (a shapefile and its
// sidecars) moves every one of them; until then the old file or files stay as they were.
#pragma once

#include <cstddef>
#include <string>

namespace velkor {

class StagedOutput {
  public:
    explicit StagedOutput(std::string target);
    // Removes the staging folder and whatever is still in it.
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // Creates the staging folder; false and a message when the target's folder cannot be
    // written, or the target is there but no regular file (a device, a folder): a rename
    // would put the file in its place.
    bool open(std::string& message);
    // Where the writer is to put the file: the target's name in the staging folder.
    const std::string& path() const { return staged_; }
    // Writes bytes as the staged file, every write and the sync checked; false and a
    // message when any fails (a full disk).
    bool put(const void* data, std::size_t size, std::string& message);
    // Moves every staged file into the target's folder under its own name.
    bool commit(std::string& message);

    // "Write error: <target>: <reason>", the way every GIS file failure is told.
    static std::string failure(const std::string& target, const std::string& reason);

  private:
    std::string target_;
    std::string folder_;
    std::string staged_;
};

}  // namespace velkor
