// A folder of GDAL's in-memory file system, gone with the object. GDAL writes an output
// here in full, since its drivers do not check every write (a full disk would give a cut
// file and success); the files then go to disk as one set with every write checked.
#pragma once

#include <string>
#include <vector>

#include "core/StagedOutput.h"

namespace velkor {

class MemoryFolder {
  public:
    explicit MemoryFolder(const void* owner);
    ~MemoryFolder();
    MemoryFolder(const MemoryFolder&) = delete;
    MemoryFolder& operator=(const MemoryFolder&) = delete;

    // Where GDAL is to write the file of this name.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Puts every file written here into the set, in the order of the names expected; false
    // and a message naming target when nothing was written or a file is none of them.
    bool stage(StagedOutput& out, const std::vector<std::string>& expected,
               const std::string& target, std::string& message) const;

  private:
    std::string path_;
};

}  // namespace velkor
