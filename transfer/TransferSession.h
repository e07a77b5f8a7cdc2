// The transfer protocol: handshake, record count, then each record and its
// acknowledgement, written as data lines to the import file as they arrive.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

class ByteLink;
class TransferMonitor;

class TransferSession {
  public:
    static constexpr std::uint32_t kNoData = 0xFFFFFFFFu;
    // The most readings one data set holds: its capacity less the header line.
    static constexpr std::uint32_t kMaxReadings = 19999;

    enum class Outcome {
        Finished,     // every record is in the file
        NoData,       // the instrument holds no readings
        WrongEcho,    // something else than '$' answered '$'
        NoAnswer,     // the handshake failed or timed out
        TooMany,      // more readings than a data set holds
        Interrupted,  // the link failed during the records
        Cancelled,    // the user stopped it
        WriteError,   // the import file could not be written
    };

    struct Result {
        Outcome outcome = Outcome::NoAnswer;
        std::uint32_t received = 0;
        std::uint32_t count = 0;
    };

    TransferSession(ByteLink& link, TransferMonitor& monitor);

    // Runs the whole protocol into the file at path (created anew).
    Result run(const std::string& path);

  private:
    bool send(std::uint8_t byte);
    bool receive(std::uint8_t* bytes, std::uint32_t count);

    ByteLink& link_;
    TransferMonitor& monitor_;
};

}  // namespace velkor
