// Starts of one user on one display take turns: each holds this lock while it decides
// whether to hand its file to the window or to become the window itself, so that
// starts at the same moment end with one window. Released when the object goes.
#pragma once

#include <chrono>
#include <string>

#include "core/FileDescriptor.h"

namespace velkor {

class StartLock {
  public:
    StartLock() = default;  // holds nothing

    // Waits up to patience for the lock file at path (made when missing, never through
    // a link); when the lock is not held, problem says why.
    static StartLock acquire(const std::string& path, std::chrono::milliseconds patience,
                             std::string& problem);

    bool held() const { return fd_.valid(); }

  private:
    explicit StartLock(FileDescriptor fd) : fd_(std::move(fd)) {}

    FileDescriptor fd_;
};

}  // namespace velkor
