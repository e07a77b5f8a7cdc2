// Auto Detect: asks every listed port in turn for an instrument in remote mode.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class Prompter;
class SerialLink;

class PortSearch {
  public:
    static constexpr const char* kComError = "COM error";
    static constexpr const char* kNotFound = "Device not found";
    static constexpr int kAnswerDelayMs = 400;

    // The index of the port that answered, or -1 (after "COM error" or "Device not found").
    static int run(SerialLink& link, const std::vector<std::string>& ports,
                   const std::string& speed, Prompter& prompter);
};

}  // namespace velkor
