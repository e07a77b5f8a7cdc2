// Transfer protocol over a byte link.
#include "transfer/TransferSession.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "core/TransferMonitor.h"
#include "transfer/ByteLink.h"
#include "transfer/InstrumentRecord.h"

namespace velkor {
namespace {

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

// The data line of reading n, cut when the loader would split it into two readings.
std::string fittedLine(const std::string& line, std::uint32_t n, TransferSession::Result& result) {
    if (line.size() - 1 <= TransferSession::kLongestLine) {  // not counting the line feed
        return line;
    }
    ++result.cut;
    if (result.firstCut.size() < TransferSession::kCutShown) {
        result.firstCut.push_back(n);
    }
    return line.substr(0, TransferSession::kLongestLine) + '\n';
}

}  // namespace

TransferSession::TransferSession(ByteLink& link, TransferMonitor& monitor)
    : link_(link), monitor_(monitor) {}

bool TransferSession::send(std::uint8_t byte) {
    DWORD written = 0;
    return link_.write(&byte, 1, written) == 0 && written == 1;
}

TransferSession::Receipt TransferSession::receive(std::uint8_t* bytes, std::uint32_t count) {
    DWORD have = 0;
    for (std::uint32_t slice = 0; slice < kSlices; ++slice) {
        if (monitor_.cancelled()) {
            return Receipt::Cancelled;
        }
        DWORD got = 0;
        if (link_.read(bytes + have, count - have, got) != 0) {
            return Receipt::Failed;
        }
        have += std::min<DWORD>(got, count - have);
        if (have == count) {
            return Receipt::Complete;
        }
    }
    return Receipt::Short;
}

TransferSession::File TransferSession::createFile(const std::string& path, bool exclusive) {
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return nullptr;
    }
    File file(::fdopen(fd, "wb"));
    if (!file) {
        ::close(fd);
    }
    return file;
}

TransferSession::Result TransferSession::run(const std::string& path) {
    return run(createFile(path, false));
}

TransferSession::Result TransferSession::run(File file) {
    Result result;
    if (!file || !writeText(file.get(), InstrumentRecord::headerLine())) {
        result.outcome = Outcome::WriteError;
        return result;
    }
    // A receipt that is not complete ends the transfer: cancelled, or else this outcome.
    auto ended = [&result](Receipt receipt, Outcome otherwise) {
        result.outcome = receipt == Receipt::Cancelled ? Outcome::Cancelled : otherwise;
        return result;
    };
    std::uint8_t echo = 0;
    if (!send('$')) {
        return result;
    }
    const Receipt echoed = receive(&echo, 1);
    if (echoed != Receipt::Complete) {
        return ended(echoed, Outcome::NoAnswer);
    }
    if (echo != '$') {
        result.outcome = Outcome::WrongEcho;
        return result;
    }
    std::uint8_t countBytes[4] = {};
    if (!send('?')) {
        return result;
    }
    if (const Receipt counted = receive(countBytes, 4); counted != Receipt::Complete) {
        return ended(counted, Outcome::NoAnswer);
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
        Receipt receipt = receive(head, sizeof head);
        if (receipt == Receipt::Complete) {
            receipt = receive(body, sizeof body);
        }
        if (receipt != Receipt::Complete) {
            return ended(receipt, Outcome::Interrupted);
        }
        const InstrumentRecord record = InstrumentRecord::decode(head, body);
        if (!writeText(file.get(), fittedLine(record.dataLine(), n + 1, result))) {
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
