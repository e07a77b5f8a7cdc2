// Sets or clears one environment variable for a test and gives it back its earlier value
// afterwards, so a test's folders never leak into the next one.
#pragma once

#include <optional>
#include <string>

namespace velkor {

class ScopedEnv {
  public:
    // Sets name to value, or clears it when no value is given.
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> earlier_;
};

}  // namespace velkor
