// The files under tests/fixtures: their paths, and the golden texts a test holds output to
// byte for byte (kept there as data, so that a test does not restate a text the code holds).
#pragma once

#include <string>

namespace velkor {

class Fixture {
  public:
    static std::string path(const std::string& name);
    // The file's bytes; throws when it cannot be read, so that a missing golden file fails
    // the test instead of comparing with nothing.
    static std::string text(const std::string& name);

    // A file of the made-up sample week under samples/.
    static std::string sample(const std::string& name);
};

}  // namespace velkor
