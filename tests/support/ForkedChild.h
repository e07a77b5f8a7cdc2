// Runs a piece of a test in a child process: as an unprivileged user (file modes mean
// nothing to root), and under a deadline, so a call that blocks cannot hang the test.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

namespace velkor {

class ForkedChild {
  public:
    static constexpr uid_t kNobody = 65534;

    // The body's verdict. False when it says so, when the child is killed by the
    // deadline, or when it cannot become user (tried only when running as root).
    static bool run(const std::function<bool()>& body, unsigned deadlineSeconds,
                    std::optional<uid_t> user = std::nullopt);
};

}  // namespace velkor
