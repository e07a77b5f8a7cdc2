// Each output has its own folder, named after the object that writes it.
#include "geo/MemoryFolder.h"

#include <cpl_string.h>
#include <cpl_vsi.h>

#include <algorithm>
#include <cstdint>

namespace velkor {

MemoryFolder::MemoryFolder(const void* owner)
    : path_("/vsimem/velkor-" + std::to_string(reinterpret_cast<std::uintptr_t>(owner))) {}

MemoryFolder::~MemoryFolder() {
    VSIRmdirRecursive(path_.c_str());
}

bool MemoryFolder::stage(StagedOutput& out, const std::vector<std::string>& expected,
                         const std::string& target, std::string& message) const {
    char** listed = VSIReadDir(path_.c_str());
    std::vector<std::string> written;
    for (int k = 0; listed != nullptr && listed[k] != nullptr; ++k) {
        written.emplace_back(listed[k]);
    }
    CSLDestroy(listed);
    for (const std::string& name : written) {
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
            message = StagedOutput::failure(target, "GDAL wrote an unexpected file " + name);
            return false;
        }
    }
    if (written.empty()) {
        message = StagedOutput::failure(target, "nothing was written");
        return false;
    }
    for (const std::string& name : expected) {
        vsi_l_offset size = 0;
        const GByte* bytes = VSIGetMemFileBuffer(file(name).c_str(), &size, FALSE);
        if (std::find(written.begin(), written.end(), name) != written.end() &&
            (bytes == nullptr || !out.put(name, bytes, static_cast<std::size_t>(size), message))) {
            if (bytes == nullptr) {
                message = StagedOutput::failure(target, "nothing was written");
            }
            return false;
        }
    }
    return true;
}

}  // namespace velkor
