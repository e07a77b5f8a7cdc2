// Every part is whole on disk before the journal names the set, and the journal is on disk
// before the first old file is moved aside, so a kill at any moment leaves either a set the
// journal can finish or the old set untouched.
#include "core/StagedOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

namespace velkor {
namespace {

namespace fs = std::filesystem;
using Entry = SetJournal::Entry;

// Datasets that keep their coordinate system in a .prj of their base name: a .prj beside
// one of them is its own, whatever else shares the name.
constexpr std::string_view kPrjOwners[] = {".shp", ".asc", ".flt", ".bil", ".bip", ".bsq"};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool there(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool regularFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(fs::status(path, ignored));
}

// Another dataset of the same base name beside the target that owns a .prj.
bool otherPrjOwner(const fs::path& folder, const std::string& stem, const std::string& target) {
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
        const fs::path name = e.path().filename();
        const std::string ext = lower(name.extension().string());
        if (name.string() != target && name.stem().string() == stem &&
            std::find(std::begin(kPrjOwners), std::end(kPrjOwners), ext) != std::end(kPrjOwners)) {
            return true;
        }
    }
    return false;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

fs::path folderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

// Whether name is a staging folder's as the program once made them beside a target:
// "." + the target's name + "." + six letters or digits (mkdtemp's pattern).
bool stagingName(const std::string& name, const std::string& target) {
    const std::string start = "." + target + ".";
    return name.size() == start.size() + 6 && name.compare(0, start.size(), start) == 0 &&
           std::all_of(name.begin() + start.size(), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// A left-over staging folder of the target: ours, and holding nothing but regular files
// named as the target's parts. Anything else in it, and it is not touched.
bool onlyOurParts(const fs::path& folder, const std::string& stem) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file(error) || e.is_symlink(error) || name.rfind(stem + ".", 0) != 0) {
            return false;
        }
    }
    return !error;
}

// Removes the staging folders an older version left beside the target when a write was
// killed; the journal is held, so no writer of this target is using one.
void removeOldStagingFolders(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string();
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
        if (stagingName(e.path().filename().string(), name) &&
            onlyOurParts(e.path(), target.stem().string())) {
            fs::remove_all(e.path(), error);
        }
    }
}

}  // namespace

StagedOutput::StagedOutput(std::string target)
    : target_(std::move(target)), folder_(folderOf(target_).string()), journal_(target_) {}

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
    const fs::file_status status = fs::status(target, ignored);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        message = failure(target_, "not a regular file");
        return false;
    }
    std::string reason;
    if (!journal_.open(reason)) {
        message = failure(target_, reason);
        return false;
    }
    removeOldStagingFolders(target);
    opened_ = true;
    return true;
}

bool StagedOutput::belongs(const std::string& fileName) const {
    const fs::path target(target_);
    const std::string name = target.filename().string();
    if (fileName == name || !there(fs::path(folder_) / fileName)) {
        return true;
    }
    const std::string stem = target.stem().string();
    if (!regularFile(target) || fileName.rfind(stem + ".", 0) != 0) {
        return false;
    }
    return lower(fs::path(fileName).extension().string()) != ".prj" ||
           !otherPrjOwner(folder_, stem, name);
}

bool StagedOutput::put(const std::string& fileName, const void* data, std::size_t size,
                       std::string& message) {
    const std::string part = (folderOf(target_) / fileName).string();
    if (!opened_) {
        message = failure(target_, "not opened");
        return false;
    }
    if (!belongs(fileName)) {
        message = failure(target_, part + " would be lost: it is no file of the output replaced");
        return false;
    }
    auto writer = std::make_unique<SafeFileWriter>(part);
    if (writer->open()) {
        writer->write(std::string_view(static_cast<const char*>(data), size));
    }
    if (!writer->prepare()) {
        message = failure(part, writer->reason());
        return false;
    }
    parts_.push_back(std::move(writer));
    return true;
}

std::vector<Entry> StagedOutput::set() const {
    std::vector<Entry> entries;
    for (const auto& p : parts_) {
        entries.push_back({p->target(), p->temporary(), p->temporary() + "~", there(p->target())});
    }
    return entries;
}

bool StagedOutput::move(const std::vector<Entry>& set, std::string& message) {
    for (std::size_t k = 0; k < set.size(); ++k) {
        if (hook_) {
            hook_(set[k].file);
        }
        const bool aside =
            !set[k].existed || std::rename(set[k].file.c_str(), set[k].old.c_str()) == 0;
        if (!aside || !parts_[k]->install()) {
            message = failure(set[k].file, aside ? parts_[k]->reason() : std::strerror(errno));
            journal_.record(SetJournal::Direction::Back, set);
            SetJournal::settle(SetJournal::Direction::Back, set);
            journal_.clear();
            return false;
        }
    }
    return true;
}

bool StagedOutput::commit(std::string& message) {
    if (parts_.empty()) {
        message = failure(target_, "nothing was written");
        return false;
    }
    const std::vector<Entry> entries = set();
    if (!journal_.record(SetJournal::Direction::Forward, entries)) {
        message = failure(target_, std::strerror(errno));
        return false;
    }
    if (!move(entries, message)) {
        return false;
    }
    std::set<std::string> folders;
    for (const Entry& e : entries) {
        folders.insert(folderOf(e.file).string());
    }
    for (const std::string& f : folders) {
        syncFolder(f);
    }
    for (const Entry& e : entries) {
        ::unlink(e.old.c_str());
    }
    journal_.clear();
    return true;
}

}  // namespace velkor
