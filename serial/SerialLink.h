// A byte-at-a-time link over one serial port, with fixed time-outs and an error flag
// that the caller polls. At most one port is open at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/ComPortMap.h"
#include "serial/LineMode.h"

namespace velkor {

class Prompter;
class SerialPortFile;

class SerialLink {
  public:
    static constexpr int kReadTimeoutMs = 2000;
    static constexpr int kWriteTimeoutMs = 2;
    static constexpr const char* kTimeOut =
        "Communication Time Out!\nCheck if Kelm is connected...";

    SerialLink(ComPortMap ports, Prompter& prompter);
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens COMn with the mode string applied over the port's settings (a string that
    // cannot be read leaves them). With showTimeOut, a time-out tells the user.
    bool open(int port, const std::string& mode, bool showTimeOut);
    // The byte received, or 0 (then the error flag tells a time-out from a zero byte).
    std::uint8_t readByte();
    void writeByte(int value);
    void close();
    // The error flag, cleared.
    int takeError();

    bool isOpen() const;
    // The open port's line setting as the system has it.
    std::optional<LineMode> lineSettings() const;

    // The speeds open can set, slowest first.
    static std::vector<int> speeds();
    // Whether the text is one of those speeds, written as a plain number.
    static bool setsSpeed(const std::string& text);

  private:
    enum class Wait { Ready, TimedOut, Failed };
    Wait waitFor(short events, int timeoutMs) const;
    void timedOut();

    ComPortMap ports_;
    Prompter& prompter_;
    std::unique_ptr<SerialPortFile> port_;
    int error_ = 0;
    bool showTimeOut_ = false;
};

}  // namespace velkor
