// The transfer protocol: handshake, record count, then each record and its
// acknowledgement, written as data lines to the import file as they arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace velkor {

class ByteLink;
class TransferMonitor;

class TransferSession {
  public:
    static constexpr std::uint32_t kNoData = 0xFFFFFFFFu;
    // The most readings one data set holds: its capacity less the header line.
    static constexpr std::uint32_t kMaxReadings = 19999;
    // The link's read time-out is one short slice, so the window answers between
    // slices; a read gives up once the slices add up to the whole time-out.
    static constexpr std::uint32_t kSliceMs = 100;
    static constexpr std::uint32_t kTimeoutMs = 3000;
    static constexpr std::uint32_t kSlices = kTimeoutMs / kSliceMs;
    // A data line longer than this would load as two readings.
    static constexpr std::size_t kLongestLine = 84;
    static constexpr std::size_t kCutShown = 5;

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
        // Readings whose data line was cut to kLongestLine: how many, and the first
        // kCutShown of their numbers (counted from 1).
        std::uint32_t cut = 0;
        std::vector<std::uint32_t> firstCut;
    };

    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    TransferSession(ByteLink& link, TransferMonitor& monitor);

    // Opens path for writing, mode 0600 when it is created, never through a link; with
    // exclusive, only a file that is not there yet. Null on failure.
    static File createFile(const std::string& path, bool exclusive);

    // Runs the whole protocol into the file at path (created anew, mode 0600, never
    // through a link).
    Result run(const std::string& path);
    // Runs it into a file opened for writing; nothing is sent without one.
    Result run(File file);

  private:
    enum class Receipt { Complete, Short, Failed, Cancelled };

    bool send(std::uint8_t byte);
    // Reads count bytes in slices, asking the monitor between them.
    Receipt receive(std::uint8_t* bytes, std::uint32_t count);

    ByteLink& link_;
    TransferMonitor& monitor_;
};

}  // namespace velkor
