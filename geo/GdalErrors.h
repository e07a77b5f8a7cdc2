// While one lives, GDAL's errors on this thread are kept here instead of printed, so that a
// failure can be told in our own message.
#pragma once

#include <string>

namespace velkor {

class GdalErrors {
  public:
    GdalErrors();
    ~GdalErrors();
    GdalErrors(const GdalErrors&) = delete;
    GdalErrors& operator=(const GdalErrors&) = delete;

    // Whether GDAL (or record) reported a failure since this began.
    bool failed() const { return failed_; }
    // The last failure message, or the last warning when nothing failed.
    const std::string& message() const { return failed_ ? failure_ : warning_; }

    // Keeps a message as GDAL's handler does; ours go through here too.
    void record(bool failure, const std::string& message);

  private:
    bool failed_ = false;
    std::string failure_;
    std::string warning_;
};

}  // namespace velkor
