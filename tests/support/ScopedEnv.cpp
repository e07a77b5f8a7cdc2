// Environment variables for one test.
#include "support/ScopedEnv.h"

#include <stdlib.h>

#include <utility>

namespace velkor {
namespace {

void put(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

}  // namespace

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* now = ::getenv(name_.c_str())) {
        earlier_ = now;
    }
    put(name_, value);
}

ScopedEnv::~ScopedEnv() {
    put(name_, earlier_);
}

}  // namespace velkor
