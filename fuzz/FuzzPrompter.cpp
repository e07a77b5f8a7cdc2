// The fuzz targets' user.
#include "fuzz/FuzzPrompter.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velkor {

void FuzzPrompter::message(const std::string& text, const std::string&) {
    messages.push_back(text);
}

bool FuzzPrompter::pickDevice(const std::vector<std::string>& descriptions, std::uint32_t& index) {
    index = 0;
    return !descriptions.empty();
}

std::unique_ptr<TransferMonitor> FuzzPrompter::openTransferWindow() {
    return std::move(monitor);
}

void FuzzPrompter::require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

std::string FuzzPrompter::scratch(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/velkor-fuzz-" +
           std::to_string(::getpid()) + "-" + name;
}

std::string FuzzPrompter::writeScratch(const std::string& name, const std::string& bytes) {
    const std::string path = scratch(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    require(f != nullptr, "scratch file opened");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

}  // namespace velkor
