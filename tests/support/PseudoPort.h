// A pseudo-terminal standing in for a serial port, with an optional instrument on the
// far end that answers "a" with "$" and notes every byte it receives.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace velkor {

class PseudoPort {
  public:
    explicit PseudoPort(bool answers);
    ~PseudoPort();
    PseudoPort(const PseudoPort&) = delete;
    PseudoPort& operator=(const PseudoPort&) = delete;

    const std::string& path() const { return path_; }
    // The bytes the far end has received so far.
    std::string received() const;
    // The bytes received once there are n of them. The wait ends the moment the n-th
    // arrives; its deadline only keeps a test whose bytes never come from hanging.
    std::string waitFor(std::size_t n) const;
    // The far end goes away, as an adapter pulled out: the port is hung up for good.
    void hangUp();

  private:
    void serve();

    int master_ = -1;
    int slave_ = -1;
    int stop_ = -1;  // an eventfd: written once, when the far end is to stop
    std::string path_;
    bool answers_;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::string received_;
    std::thread thread_;
};

}  // namespace velkor
