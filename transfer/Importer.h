// The Import command after the offer to save: choose the instrument, transfer its
// readings into the import file, and make them the data set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

class DataSet;
class Prompter;
class UsbLink;

class Importer {
  public:
    Importer(UsbLink& usb, Prompter& prompter);

    // Imports from the device the user picks, or from device when given (an index that
    // is not attached is reported). True when the
    // readings replaced the data set; on every other end the data set is unchanged and
    // the device closed.
    bool run(DataSet& data, std::optional<std::uint32_t> device = std::nullopt);
    // What to tell the user once the new readings are shown (readings cut to fit their
    // line); empty when there is nothing to tell.
    const std::string& notice() const { return notice_; }

  private:
    bool transfer(DataSet& data, std::uint32_t device);

    UsbLink& usb_;
    Prompter& prompter_;
    std::string notice_;
};

}  // namespace velkor
