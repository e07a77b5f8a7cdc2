// The whole import against a fuzzed instrument: the fuzzer's bytes decide what every
// read gives (the instrument's answers, short reads, time-outs, failures, more than was
// asked for, the user's Cancel) and whether a write fails. Whatever happens, the device
// is closed, the outcome matches what the instrument did, every record is acknowledged
// once, and an import that fails leaves the data set as it was and tells the user.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/TransferMonitor.h"
#include "data/DataSet.h"
#include "fuzz/FuzzPrompter.h"
#include "transfer/Importer.h"
#include "transfer/InstrumentRecord.h"
#include "transfer/UsbLink.h"

namespace {

using namespace velkor;

class Window : public TransferMonitor {
  public:
    explicit Window(bool& cancel) : cancel_(cancel) {}
    void addLine(const std::string&) override {}
    void setProgress(std::uint32_t, std::uint32_t) override {}
    bool cancelled() override { return cancel_; }
    void hide() override {}

  private:
    bool& cancel_;
};

class FuzzedInstrument : public UsbLink {
  public:
    explicit FuzzedInstrument(FuzzedDataProvider& in) : in_(in) {
        std::strcpy(node_.Description, kMagnetometer);
    }

    FT_STATUS filterDeviceList(const std::string&) override { return FT_OK; }
    DWORD deviceCount() const override { return 1; }
    const FT_DEVICE_LIST_INFO_NODE* deviceRecord(DWORD i) const override {
        return i == 0 ? &node_ : nullptr;
    }
    FT_STATUS openByIndex(DWORD) override {
        open_ = true;
        return FT_OK;
    }
    FT_STATUS openBySerial(const std::string&) override { return FT_DEVICE_NOT_FOUND; }
    FT_STATUS setTimeouts(ULONG, ULONG) override { return FT_OK; }
    FT_STATUS close() override {
        open_ = false;
        return FT_OK;
    }
    bool deviceOpen() const override { return open_; }
    bool usable() const override { return true; }
    std::string linkName() const override { return "fuzzed instrument"; }

    FT_STATUS write(const void* bytes, DWORD count, DWORD& written) override {
        FuzzPrompter::require(open_, "writes only to an open device");
        written = 0;
        if (in_.ConsumeIntegralInRange(0, 63) == 0) {
            failed = true;
            return FT_IO_ERROR;
        }
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        sent.insert(sent.end(), b, b + count);
        written = count;
        return FT_OK;
    }

    FT_STATUS read(void* bytes, DWORD count, DWORD& received) override {
        FuzzPrompter::require(open_, "reads only from an open device");
        received = 0;
        const int what = in_.remaining_bytes() == 0 ? 1 : in_.ConsumeIntegralInRange(0, 15);
        switch (what) {
            case 0:
                failed = true;
                return FT_IO_ERROR;
            case 1:
                return FT_OK;  // a slice passes without a byte
            case 2:
                cancel = true;
                return FT_OK;
            default:
                break;
        }
        DWORD n = count;
        if (what < 6) {
            n = in_.ConsumeIntegralInRange<DWORD>(0, count);
        }
        const std::vector<std::uint8_t> answer = in_.ConsumeBytes<std::uint8_t>(n);
        std::copy(answer.begin(), answer.end(), static_cast<std::uint8_t*>(bytes));
        given.insert(given.end(), answer.begin(), answer.end());
        received = static_cast<DWORD>(answer.size());
        if (what == 6 && received == count) {
            received = count + 7;  // a driver that claims more than was asked for
        }
        return FT_OK;
    }

    std::vector<std::uint8_t> sent;
    std::vector<std::uint8_t> given;
    bool failed = false;
    bool cancel = false;

  private:
    FuzzedDataProvider& in_;
    FT_DEVICE_LIST_INFO_NODE node_{};
    bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The import file of this process's own.
    static char dir[] = "/tmp/velkor-fuzz-transfer-XXXXXX";
    if (::mkdtemp(dir) != nullptr) {
        ::setenv("TMPDIR", dir, 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    FuzzedInstrument usb(in);
    FuzzPrompter user;
    user.monitor = std::make_unique<Window>(usb.cancel);
    DataSet data;
    const std::vector<std::string> before{"M old", "S old reading"};
    data.replaceLines(before);

    const bool imported = Importer(usb, user).run(data, 0);

    FuzzPrompter::require(!usb.deviceOpen(), "the device is closed on every end");
    const auto acks = static_cast<std::size_t>(std::count(usb.sent.begin(), usb.sent.end(), 0x0A));
    const std::size_t records =
        usb.given.size() >= 5
            ? (usb.given.size() - 5) / (InstrumentRecord::kHeadSize + InstrumentRecord::kBodySize)
            : 0;
    FuzzPrompter::require(acks <= records, "no acknowledgement without its whole record");
    if (!imported) {
        FuzzPrompter::require(data.lines() == before && !data.modified,
                              "a failed import leaves the data set as it was");
        FuzzPrompter::require(!user.messages.empty(), "a failed import is told");
        return 0;
    }
    FuzzPrompter::require(!usb.failed && !usb.cancel, "no import after a failure or Cancel");
    FuzzPrompter::require(usb.given.size() >= 5 && usb.given[0] == '$', "the echo was '$'");
    const std::uint32_t count = static_cast<std::uint32_t>(usb.given[1]) |
                                (static_cast<std::uint32_t>(usb.given[2]) << 8) |
                                (static_cast<std::uint32_t>(usb.given[3]) << 16) |
                                (static_cast<std::uint32_t>(usb.given[4]) << 24);
    FuzzPrompter::require(acks == count && records == count &&
                              static_cast<std::uint32_t>(data.readingCount()) == count,
                          "one reading and one acknowledgement per announced record");
    FuzzPrompter::require(usb.sent.size() == 2 + count && usb.sent[0] == '$' && usb.sent[1] == '?',
                          "'$', '?', then one acknowledgement per record");
    for (const std::string& line : data.lines()) {
        FuzzPrompter::require(line.size() <= 84, "every imported line holds 84 characters");
    }
    FuzzPrompter::require(data.modified, "an import marks the data set modified");
    return 0;
}
