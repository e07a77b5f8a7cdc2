// An open serial device file, for this process alone, closed when the object goes.
#pragma once

#include <string>

namespace velkor {

class SerialPortFile {
  public:
    // Opens for reading and writing without becoming its controlling terminal; fails
    // for a missing device, one that is no terminal, or one another program holds.
    explicit SerialPortFile(const std::string& path);
    ~SerialPortFile();
    SerialPortFile(const SerialPortFile&) = delete;
    SerialPortFile& operator=(const SerialPortFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Why opening failed (errno: EACCES, EBUSY, EWOULDBLOCK for a lock, ...); 0 when open.
    int error() const { return error_; }

  private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace velkor
