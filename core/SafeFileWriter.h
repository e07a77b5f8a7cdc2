// Writes a file through a temporary file in the same folder, renamed over the
// target only once every byte is on disk, so a failed write never harms the old file.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

class SafeFileWriter {
  public:
    // A target named through symbolic links is the file the last link names; the
    // links stay as they are. As the kernel's protected_symlinks rule has it, a link in a
    // sticky folder anyone may write is followed only when it is the user's own or the
    // folder owner's.
    explicit SafeFileWriter(std::string target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file, first removing those a killed write of the same target
    // left behind. False when the folder cannot be written, or when the target exists and
    // is not a regular file this process may write.
    bool open();
    void write(std::string_view bytes);
    // The text followed by CR LF.
    void writeLine(std::string_view text);
    // Flushes, closes and renames over the target. False on any error seen so far.
    bool commit();
    // The two halves of commit, for a set of files replaced together: prepare leaves the
    // temporary file whole and synced on disk, install renames it over the target.
    bool prepare();
    bool install();
    // The file written (the end of the links) and, once open, the temporary file.
    const std::string& target() const { return target_; }
    const std::string& temporary() const { return temp_; }
    // Why the first failure happened, in the system's words; empty when none has.
    std::string reason() const;

    // The start of every name this writer and a set of files give their temporary files
    // beside a file of this name: hidden, short, and the same at every write.
    static std::string hiddenPrefix(const std::string& fileName);

  private:
    bool resolve();
    void discard();
    // Notes a failure and its cause (the errno now) unless one is noted already.
    void fail();
    void fail(std::string why);

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
    int error_ = 0;    // errno of the first failure
    std::string why_;  // or its cause in words
    std::string buffer_;
};

}  // namespace velkor
