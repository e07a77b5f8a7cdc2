// velkor-sim-pty FOLDER: the simulated instrument behind the kernel driver's device
// layer. Builds FOLDER/sys and FOLDER/dev with one ttyUSBn port per bridge of
// VELKOR_SIM_DEVICES (every magnetometer served on a pseudo-terminal), prints the two
// variables that point the program at them, and serves until interrupted.
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "sim/PtyInstrument.h"
#include "sim/SimInstrument.h"
#include "sim/SysfsTreeBuilder.h"

int main(int argc, char** argv) {
    using velkor::sim::PtyInstrument;
    if (argc != 2 || !std::filesystem::is_directory(argv[1])) {
        std::cerr << "usage: velkor-sim-pty FOLDER   (an existing, preferably empty folder)\n";
        return 2;
    }
    // Blocked before any thread starts, so that only sigwait below takes them.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    velkor::sim::SimInstrument bridges;
    bridges.configure();
    velkor::sim::SysfsTreeBuilder tree(std::filesystem::absolute(argv[1]));
    std::vector<std::unique_ptr<PtyInstrument>> instruments;
    int number = 0;
    for (const velkor::sim::SimInstrument::Device& d : bridges.devices()) {
        std::string node;
        if (d.description == "Proton Magnetometer Velkor-2") {
            instruments.push_back(std::make_unique<PtyInstrument>());
            node = instruments.back()->path();
        }
        tree.addPort(number++, "ftdi_sio", d.description, d.serial, node);
    }
    std::cout << "VELKOR2TR_SYSFS=" << tree.sysDir().string() << '\n'
              << "VELKOR2TR_DEVDIR=" << tree.devDir().string() << std::endl;
    int signal = 0;
    sigwait(&stops, &signal);
    return 0;
}
