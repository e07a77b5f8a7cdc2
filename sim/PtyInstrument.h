// The simulated magnetometer on a pseudo-terminal: the far end of the pty answers
// like the instrument behind its bridge (handshake, count, records, faults), so that
// the kernel driver's device layer can be exercised without hardware.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "sim/SimInstrument.h"

namespace velkor::sim {

class PtyInstrument {
  public:
    // Configured from the VELKOR_SIM_* variables, like the library's instrument. The
    // fault "break:K" pulls the plug after K bytes: the pty's far end closes.
    PtyInstrument();
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    // The terminal the program opens, e.g. /dev/pts/3; empty when no pty could be had.
    const std::string& path() const { return path_; }
    // Pulls the plug: the far end closes and the terminal hangs up for good.
    void unplug();

  private:
    void serve();
    // A terminal tells its far end nothing of being opened: every handshake starts a
    // transfer afresh, as a new open of the library's device would.
    void restart();
    // Hands the bytes received to the instrument and sends what it answers; false when
    // the link broke.
    bool pass(const std::uint8_t* bytes, std::size_t count);
    bool drain();
    bool send(const std::uint8_t* bytes, std::size_t count);
    void closeMaster();

    SimInstrument instrument_;
    std::string serial_;  // empty when no magnetometer answers here
    FT_HANDLE handle_ = nullptr;
    int master_ = -1;
    int slave_ = -1;  // held, so the far end never reads a hang-up between two opens
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace velkor::sim
