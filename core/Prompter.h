// Everything the commands ask of the user or tell the user goes through here, so
// that the same commands run behind windows, on a console and in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

struct CommSettings;
class DataSet;
class VariationSet;
class TransferMonitor;

inline constexpr const char* kAppTitle = "Velkor2tr";

// Every question but the message has the answer of nobody there (Cancel, nothing, false, a
// monitor nobody watches) unless a prompter with someone to ask overrides it.
class Prompter {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompter() = default;

    // A modal message with an OK button.
    virtual void message(const std::string& text, const std::string& caption) = 0;
    void message(const std::string& text) { message(text, kAppTitle); }

    // "Save changes to <title>?" with Yes, No and Cancel.
    virtual Answer askSaveChanges(const std::string& /*title*/) { return Answer::Cancel; }

    // A file to open or to save; the filter is in "Name (*.ext)|*.ext||" form.
    // Nothing when the user cancels. The save dialog asks before overwriting.
    virtual std::optional<std::string> askOpenFile(const std::string& /*filter*/,
                                                   const std::string& /*defaultExt*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> askSaveFile(const std::string& /*filter*/,
                                                   const std::string& /*defaultExt*/) {
        return std::nullopt;
    }

    // The "Temporal Variations Basis" or "Geomagnetic Field" dialog, opened on the
    // current value; the confirmed value, or nothing for Cancel. surveyDate is the Date
    // text of the first reading (empty without one): the geomagnetic dialog proposes
    // the field model's value for that day.
    enum class ValueKind { Basis, Geomagnetic };
    virtual std::optional<float> askValue(ValueKind /*which*/, float /*current*/,
                                          const std::string& /*surveyDate*/) {
        return std::nullopt;
    }

    // The "Variations List" dialog over the variations file's lines (entry 0 the header).
    virtual void showVariations(const std::string& /*path*/,
                                const std::vector<std::string>& /*lines*/) {}
    // The same dialog with the base-station curve beside the list, the survey's readings
    // marked on it; where no curve can be drawn, the plain list. False when this prompter
    // shows no such dialog: the caller then shows the plain list.
    virtual bool showBaseStation(const VariationSet&, const DataSet&) { return false; }

    // "Select USB device to communicate with": false for Cancel; on OK, index is the
    // chosen entry (0xFFFFFFFF when none was selected).
    virtual bool pickDevice(const std::vector<std::string>& /*descriptions*/,
                            std::uint32_t& /*index*/) {
        return false;
    }

    // The "Transfer..." window, open for as long as the monitor lives.
    virtual std::unique_ptr<TransferMonitor> openTransferWindow();

    // "Comunication Setup" over the settings; true for OK, with settings changed.
    virtual bool editCommSettings(CommSettings& /*settings*/) { return false; }
};

}  // namespace velkor
