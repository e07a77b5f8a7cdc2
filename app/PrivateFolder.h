// A folder only this user can enter, for the single window's socket and start lock: in a
// shared folder another user could bind the socket first and receive the user's files.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class PrivateFolder {
  public:
    // runtimeFolder is $XDG_RUNTIME_DIR (empty when unset): used when it is fit, else
    // velkor2tr-UID is made in tempFolder and used when fit.
    PrivateFolder(const std::string& runtimeFolder, const std::string& tempFolder);

    // Empty when no folder is fit.
    const std::string& path() const { return path_; }
    // Why a folder was passed over, one text each.
    const std::vector<std::string>& problems() const { return problems_; }

    // Why path is not a private folder, looked at without following a link: empty when
    // it is a folder of this user's with mode 0700.
    static std::string problemWith(const std::string& path);

  private:
    bool claim(const std::string& path, const std::string& label);

    std::string path_;
    std::vector<std::string> problems_;
};

}  // namespace velkor
