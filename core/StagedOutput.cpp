// The staging folder is made with mkdtemp beside the target, so each move is a rename
// within one file system.
#include "core/StagedOutput.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/SafeFileWriter.h"

namespace velkor {
namespace {
namespace fs = std::filesystem;
}

StagedOutput::StagedOutput(std::string target) : target_(std::move(target)) {}

StagedOutput::~StagedOutput() {
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

std::string StagedOutput::failure(const std::string& target, const std::string& reason) {
    return "Write error: " + target + (reason.empty() ? std::string() : ": " + reason);
}

bool StagedOutput::open(std::string& message) {
    const fs::path target(target_);
    if (target.filename().empty()) {
        message = failure(target_, "not a file name");
        return false;
    }
    std::error_code ignored;
    const fs::file_status there = fs::status(target, ignored);
    if (fs::exists(there) && !fs::is_regular_file(there)) {
        message = failure(target_, "not a regular file");
        return false;
    }
    const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = (parent / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        message = failure(target_, std::strerror(errno));
        return false;
    }
    folder_ = name.data();
    staged_ = (fs::path(folder_) / target.filename()).string();
    return true;
}

bool StagedOutput::put(const void* data, std::size_t size, std::string& message) {
    SafeFileWriter out(staged_);
    if (out.open()) {
        out.write(std::string_view(static_cast<const char*>(data), size));
    }
    if (!out.commit()) {
        message = failure(target_, out.reason());
        return false;
    }
    return true;
}

bool StagedOutput::commit(std::string& message) {
    const fs::path parent = fs::path(folder_).parent_path();
    std::error_code error;
    std::vector<fs::path> staged;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_, error)) {
        staged.push_back(e.path());
    }
    if (error || staged.empty()) {
        message = failure(target_, error ? error.message() : "nothing was written");
        return false;
    }
    for (const fs::path& file : staged) {
        fs::rename(file, parent / file.filename(), error);
        if (error) {
            message = failure((parent / file.filename()).string(), error.message());
            return false;
        }
    }
    return true;
}

}  // namespace velkor
