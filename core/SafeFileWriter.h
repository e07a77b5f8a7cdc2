// Writes a file through a temporary file in the same folder, renamed over the
// target only once every byte is on disk, so a failed write never harms the old file.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

class SafeFileWriter {
  public:
    // A target named through symbolic links is the file the last link names; the
    // links stay as they are.
    explicit SafeFileWriter(std::string target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file. False when the folder cannot be written, or when the
    // target exists and is not a regular file this process may write.
    bool open();
    void write(std::string_view bytes);
    // The text followed by CR LF.
    void writeLine(std::string_view text);
    // Flushes, closes and renames over the target. False on any error seen so far.
    bool commit();
    // Why the first failure happened, in the system's words; empty when none has.
    std::string reason() const;

  private:
    void discard();
    // Notes a failure and its cause (the errno now) unless one is noted already.
    void fail();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
    int error_ = 0;  // errno of the first failure
    std::string buffer_;
};

}  // namespace velkor
