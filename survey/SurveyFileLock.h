// A hold on a survey file for one change, from the reading to the writing: while one is
// held, no other change (the tool's or a window's, in this process or another) reads the
// file to change it, so no change is ever written over another one. The hold is taken on
// the folder the file really lies in: every write replaces the file whole, so the file
// itself would be a different one before and after, and nothing is left beside it.
#pragma once

#include <string>

#include "core/FileDescriptor.h"

namespace velkor {

class SurveyFileLock {
  public:
    // Waits until no other hold on the survey file at path (or a survey beside it) is left.
    explicit SurveyFileLock(const std::string& path);

    // Whether the hold is taken: not where the folder cannot be opened.
    bool held() const { return folder_.valid(); }

  private:
    FileDescriptor folder_;
};

}  // namespace velkor
