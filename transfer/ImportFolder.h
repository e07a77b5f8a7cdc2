// A folder of this user's own for one transfer's import file. Another user can neither
// plant a link at the file's name nor read the readings, and two transfers at once never
// share a file. The folder and everything in it go when the object goes, however the
// transfer ends.
#pragma once

#include <filesystem>
#include <string>

#include "transfer/TransferSession.h"

namespace velkor {

class ImportFolder {
  public:
    static constexpr const char* kFileName = "$$new$$";

    // Makes the folder (mode 0700) under XDG_RUNTIME_DIR when that is this user's own,
    // else under the temporary-files folder; ready() tells whether it could.
    ImportFolder();
    ~ImportFolder();
    ImportFolder(const ImportFolder&) = delete;
    ImportFolder& operator=(const ImportFolder&) = delete;

    bool ready() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }
    // The import file's path; empty when there is no folder.
    std::string filePath() const;
    // Creates the import file for writing, mode 0600: never through a link, never over a
    // file that is already there. Null when the folder or the file cannot be made.
    TransferSession::File createFile() const;

  private:
    static bool makeUnder(const std::filesystem::path& parent, std::filesystem::path& made);

    std::filesystem::path folder_;
};

}  // namespace velkor
