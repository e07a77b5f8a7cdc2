// The Transfer window as the transfer sees it: the newest readings and the progress.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

class TransferMonitor {
  public:
    virtual ~TransferMonitor() = default;  // closes the window
    virtual void addLine(const std::string& progressLine) = 0;
    virtual void setProgress(std::uint32_t received, std::uint32_t count) = 0;
    // True once the user asked to stop.
    virtual bool cancelled() = 0;
    virtual void hide() = 0;
};

}  // namespace velkor
