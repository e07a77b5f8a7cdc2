// Picks what carries the USB link: the library VELKOR2TR_D2XX names, alone; else the
// platform's D2XX library when it binds; else the kernel's FTDI serial driver.
#pragma once

#include <memory>

#include "transfer/UsbLink.h"

namespace velkor {

class Prompter;

class UsbLinkChooser {
  public:
    // A named library is returned even when it cannot be bound, so that its operations
    // say so when used. The prompter must outlive the link.
    static std::unique_ptr<UsbLink> choose(Prompter& prompter);
};

}  // namespace velkor
