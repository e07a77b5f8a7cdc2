// The choice of the USB link.
#include "transfer/UsbLinkChooser.h"

#include <cstdlib>

#include "transfer/CFTD2XX.h"
#include "transfer/KernelFtdiLink.h"

namespace velkor {

std::unique_ptr<UsbLink> UsbLinkChooser::choose(Prompter& prompter) {
    auto library = std::make_unique<CFTD2XX>(prompter);
    const char* named = std::getenv("VELKOR2TR_D2XX");
    const bool chosenByName = named != nullptr && *named != '\0';
    if (library->bind() == 1 || chosenByName) {
        return library;
    }
    // No D2XX library here (every stock Linux): the kernel's driver already holds the
    // bridge and offers it as a tty.
    return std::make_unique<KernelFtdiLink>();
}

}  // namespace velkor
