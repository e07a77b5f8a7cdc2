// Transfer protocol over a byte link.
#include "transfer/TransferSession.h"

#include <cstdio>
#include <memory>

#include "core/TransferMonitor.h"
#include "transfer/ByteLink.h"
#include "transfer/InstrumentRecord.h"

namespace velkor {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Writes text with every line feed as CR LF, as a data file has it.
bool writeText(std::FILE* f, const std::string& text) {
    for (char c : text) {
        if (c == '\n' && std::fputc('\r', f) == EOF) {
            return false;
        }
        if (std::fputc(c, f) == EOF) {
            return false;
        }
    }
    return std::fflush(f) == 0;
}

}  // namespace

TransferSession::TransferSession(ByteLink& link, TransferMonitor& monitor)
    : link_(link), monitor_(monitor) {}

bool TransferSession::send(std::uint8_t byte) {
    DWORD written = 0;
    return link_.write(&byte, 1, written) == 0 && written == 1;
}

bool TransferSession::receive(std::uint8_t* bytes, std::uint32_t count) {
    DWORD received = 0;
    return link_.read(bytes, count, received) == 0 && received == count;
}

TransferSession::Result TransferSession::run(const std::string& path) {
    Result result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file || !writeText(file.get(), InstrumentRecord::headerLine())) {
        result.outcome = Outcome::WriteError;
        return result;
    }
    std::uint8_t echo = 0;
    if (!send('$')) {
        return result;
    }
    DWORD got = 0;
    const FT_STATUS echoStatus = link_.read(&echo, 1, got);
    if (echoStatus == 0 && got == 1 && echo != '$') {
        result.outcome = Outcome::WrongEcho;
        return result;
    }
    std::uint8_t countBytes[4] = {};
    if (echoStatus != 0 || got != 1 || !send('?') || !receive(countBytes, 4)) {
        return result;
    }
    result.count = static_cast<std::uint32_t>(countBytes[0]) |
                   (static_cast<std::uint32_t>(countBytes[1]) << 8) |
                   (static_cast<std::uint32_t>(countBytes[2]) << 16) |
                   (static_cast<std::uint32_t>(countBytes[3]) << 24);
    if (result.count == kNoData) {
        result.outcome = Outcome::NoData;
        return result;
    }
    if (result.count > kMaxReadings) {
        result.outcome = Outcome::TooMany;
        return result;
    }
    monitor_.setProgress(0, result.count);
    std::uint8_t head[InstrumentRecord::kHeadSize];
    std::uint8_t body[InstrumentRecord::kBodySize];
    for (std::uint32_t n = 0; n < result.count; ++n) {
        if (monitor_.cancelled()) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        if (!receive(head, sizeof head) || !receive(body, sizeof body)) {
            result.outcome = Outcome::Interrupted;
            return result;
        }
        const InstrumentRecord record = InstrumentRecord::decode(head, body);
        if (!writeText(file.get(), record.dataLine())) {
            result.outcome = Outcome::WriteError;
            return result;
        }
        result.received = n + 1;
        monitor_.addLine(record.progressLine());
        monitor_.setProgress(result.received, result.count);
        if (!send(0x0A)) {
            result.outcome = Outcome::Interrupted;
            return result;
        }
    }
    result.outcome = std::fclose(file.release()) == 0 ? Outcome::Finished : Outcome::WriteError;
    return result;
}

}  // namespace velkor
