// Fixture files of the tests.
#include "support/Fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velkor {

std::string Fixture::path(const std::string& name) {
    return std::string(VELKOR_FIXTURES) + "/" + name;
}

std::string Fixture::sample(const std::string& name) {
    return std::string(VELKOR_SAMPLES) + "/" + name;
}

std::string Fixture::text(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read the fixture " + path(name));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace velkor
