// The import file's private folder.
#include "transfer/ImportFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace velkor {
namespace {

namespace fs = std::filesystem;

// XDG_RUNTIME_DIR when it is an absolute folder that this user owns and nobody else may
// enter; empty otherwise.
fs::path runtimeFolder() {
    const char* named = std::getenv("XDG_RUNTIME_DIR");
    if (named == nullptr || named[0] != '/') {
        return {};
    }
    struct stat st {};
    if (::stat(named, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return {};
    }
    return named;
}

fs::path temporaryFolder() {
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    return ec ? fs::path("/tmp") : dir;
}

}  // namespace

ImportFolder::ImportFolder() {
    if (const fs::path runtime = runtimeFolder(); !runtime.empty() && makeUnder(runtime, folder_)) {
        return;
    }
    makeUnder(temporaryFolder(), folder_);
}

ImportFolder::~ImportFolder() {
    if (ready()) {
        // Only this user can write in the folder, so nothing in it belongs to anyone else.
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

bool ImportFolder::makeUnder(const fs::path& parent, fs::path& made) {
    const std::string pattern = (parent / "velkor2tr-import-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {  // mode 0700
        return false;
    }
    made = name.data();
    return true;
}

std::string ImportFolder::filePath() const {
    return ready() ? (folder_ / kFileName).string() : std::string();
}

TransferSession::File ImportFolder::createFile() const {
    return ready() ? TransferSession::createFile(filePath(), true) : nullptr;
}

}  // namespace velkor
