// The import command's core.
#include "transfer/Importer.h"

#include <memory>
#include <string>
#include <vector>

#include "core/Prompter.h"
#include "core/TransferMonitor.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "text/TextFormat.h"
#include "transfer/ImportFolder.h"
#include "transfer/TransferSession.h"
#include "transfer/UsbLink.h"

namespace velkor {
namespace {

// Closes the device however the transfer ends.
class DeviceGuard {
  public:
    explicit DeviceGuard(UsbLink& usb) : usb_(usb) {}
    ~DeviceGuard() {
        if (usb_.deviceOpen()) {
            usb_.close();
        }
    }
    DeviceGuard(const DeviceGuard&) = delete;
    DeviceGuard& operator=(const DeviceGuard&) = delete;

  private:
    UsbLink& usb_;
};

std::string failureMessage(const TransferSession::Result& r) {
    using Outcome = TransferSession::Outcome;
    switch (r.outcome) {
        case Outcome::NoAnswer:
            return "The instrument does not answer. Check that it is switched on and connected, "
                   "then import again. Nothing was imported.";
        case Outcome::TooMany:
            return formatText(
                "The instrument holds %u readings. Velkor2tr holds at most %u "
                "readings (%d lines); nothing was imported.",
                r.count, TransferSession::kMaxReadings, DataSet::kCapacity);
        case Outcome::Interrupted:
            return formatText(
                "The transfer was interrupted after %u of %u readings. Nothing "
                "was imported; the readings shown before are unchanged.",
                r.received, r.count);
        case Outcome::Cancelled:
            if (r.count == 0) {
                return "The transfer was cancelled. Nothing was imported.";
            }
            return formatText(
                "The transfer was cancelled after %u of %u readings. Nothing "
                "was imported.",
                r.received, r.count);
        default:
            return DataFile::kWriteError;
    }
}

// Names the readings whose data lines were cut, the first few by number.
std::string cutMessage(const TransferSession::Result& r) {
    std::string numbers;
    for (const std::uint32_t n : r.firstCut) {
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    }
    if (r.cut > r.firstCut.size()) {
        numbers += formatText(" and %u more", static_cast<unsigned>(r.cut - r.firstCut.size()));
    }
    if (r.cut == 1) {
        return formatText(
                   "1 reading held values too large for its columns and was cut to %zu "
                   "characters: reading ",
                   TransferSession::kLongestLine) +
               numbers + ".";
    }
    return formatText(
               "%u readings held values too large for their columns and were cut to %zu "
               "characters: readings ",
               r.cut, TransferSession::kLongestLine) +
           numbers + ".";
}

}  // namespace

Importer::Importer(UsbLink& usb, Prompter& prompter) : usb_(usb), prompter_(prompter) {}

bool Importer::run(DataSet& data, std::optional<std::uint32_t> device) {
    if (usb_.filterDeviceList(UsbLink::kMagnetometer) != FT_OK) {
        return false;  // the link has said what is wrong
    }
    std::vector<std::string> descriptions;
    for (DWORD i = 0; i < usb_.deviceCount(); ++i) {
        descriptions.push_back(formatText("%s", usb_.deviceRecord(i)->Description));
    }
    if (descriptions.empty()) {
        prompter_.message("No USB device found", "Info");
        return false;
    }
    std::uint32_t chosen = 100;
    if (device) {
        chosen = *device;
        if (chosen >= usb_.deviceCount()) {
            prompter_.message(formatText("There is no magnetometer %u: %u attached.", chosen,
                                         usb_.deviceCount()));
            return false;
        }
    } else if (!prompter_.pickDevice(descriptions, chosen)) {
        return false;
    }
    if (chosen > 64 || chosen >= usb_.deviceCount()) {
        return false;  // no valid choice: nothing changes
    }
    return transfer(data, chosen);
}

bool Importer::transfer(DataSet& data, std::uint32_t device) {
    // Declared first, so the import file and its folder go last, on every way out.
    const ImportFolder folder;
    DeviceGuard guard(usb_);
    std::unique_ptr<TransferMonitor> window = prompter_.openTransferWindow();
    if (usb_.openByIndex(device) != FT_OK) {
        window.reset();
        // The link names the cause where it can (permission, busy, unplugged).
        const std::string why = usb_.openFailure();
        prompter_.message(why.empty() ? "The USB device cannot be opened. Check that no other "
                                        "program uses it, then import again."
                                      : why);
        return false;
    }
    // Without a time-out a silent instrument would hold the program as long as the
    // library likes.
    if (usb_.setTimeouts(TransferSession::kSliceMs, TransferSession::kTimeoutMs) != FT_OK) {
        window.reset();
        usb_.close();
        prompter_.message(
            "The USB device does not accept read and write time-outs, so the transfer cannot "
            "start safely. Nothing was imported. Reconnect the instrument, then import again.");
        return false;
    }
    TransferSession session(usb_, *window);
    const TransferSession::Result result = session.run(folder.createFile());
    window->hide();
    switch (result.outcome) {
        case TransferSession::Outcome::Finished:
            break;
        case TransferSession::Outcome::WrongEcho:
            window.reset();
            prompter_.message("Error", "Error");
            return false;
        case TransferSession::Outcome::NoData:
            window.reset();
            prompter_.message("No Data");
            usb_.close();
            prompter_.message("No imported data");
            return false;
        default:
            window.reset();
            prompter_.message(failureMessage(result));
            return false;
    }
    window.reset();
    usb_.close();
    if (!DataFile::load(folder.filePath(), data, prompter_)) {
        return false;
    }
    if (result.cut > 0) {
        notice_ = cutMessage(result);
    }
    data.modified = true;
    return true;
}

}  // namespace velkor
