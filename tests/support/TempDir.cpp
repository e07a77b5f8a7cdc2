// Temporary test folders.
#include "support/TempDir.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <stdlib.h>

namespace velkor {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkor-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    dir_ = name.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::string p = path(name);
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    return p;
}

std::string TempDir::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace velkor
