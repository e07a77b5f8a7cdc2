// velkor2tr-cli devices and import.
#include "cli/DeviceCommands.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/CliTool.h"
#include "cli/CommandList.h"
#include "core/ConsolePrompter.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"
#include "transfer/CFTD2XX.h"
#include "transfer/Importer.h"
#include "transfer/UsbLinkChooser.h"

namespace velkor {
namespace {

// The USB link as the window would choose it; null, with a message, when it cannot be
// used.
std::unique_ptr<UsbLink> usbLink(Prompter& prompter) {
    std::unique_ptr<UsbLink> usb = UsbLinkChooser::choose(prompter);
    if (!usb->usable()) {
        prompter.message("The USB library " + CFTD2XX::libraryName() + " cannot be used.");
        return nullptr;
    }
    return usb;
}

// An index written as plain digits, as devices lists it: not 01, +1 or 1.0.
std::string deviceIndex(const std::string& text) {
    const int n = readInteger(text);
    return n >= 0 && std::to_string(n) == text ? std::string() : "give the index devices lists";
}

}  // namespace

void DeviceCommands::declare(CLI::App& tool, CommandList& commands) {
    CLI::App* devices = tool.add_subcommand(
        "devices", "list the attached magnetometers: index, serial number, description");
    commands.add(devices, [this] { return this->devices(); });

    CLI::App* importer = tool.add_subcommand(
        "import", "download the readings of a magnetometer and write them to the data file OUT");
    importer->add_option("OUT", import_.out, "the data file written")->required()->type_name("");
    importer
        ->add_option("--device", import_.device,
                     "the magnetometer, by its index as devices lists it (default 0)")
        ->check(CLI::Validator(deviceIndex, "", ""))
        ->type_name("N");
    commands.add(importer, [this] { return importData(import_); });
}

int DeviceCommands::devices() {
    ConsolePrompter prompter(err_);
    const std::unique_ptr<UsbLink> usb = usbLink(prompter);
    if (!usb) {
        return CliTool::kFailed;
    }
    err_ << "USB link: " << usb->linkName() << '\n';
    if (usb->filterDeviceList(UsbLink::kMagnetometer) != FT_OK) {
        return CliTool::kFailed;
    }
    for (DWORD i = 0; i < usb->deviceCount(); ++i) {
        const FT_DEVICE_LIST_INFO_NODE* d = usb->deviceRecord(i);
        out_ << i << '\t' << formatText("%.16s", d->SerialNumber) << '\t'
             << formatText("%.64s", d->Description) << '\n';
    }
    return CliTool::kOk;
}

int DeviceCommands::importData(const ImportOptions& o) {
    ConsolePrompter prompter(err_);
    const std::unique_ptr<UsbLink> usb = usbLink(prompter);
    DataSet data;
    if (!usb) {
        return CliTool::kFailed;
    }
    Importer importer(*usb, prompter);
    if (!importer.run(data, o.device) || !DataFile::write(o.out, data, prompter)) {
        return CliTool::kFailed;
    }
    if (!importer.notice().empty()) {
        prompter.message(importer.notice());
    }
    return CliTool::kOk;
}

}  // namespace velkor
