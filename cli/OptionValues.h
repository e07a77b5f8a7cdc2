// The values the commands before survey read from their options' text after the words are
// parsed, in the order each command reads them; a bad one is refused with
// "velkor2tr-cli: OPTION: why" on stderr and status 2.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace velkor {

class OptionValues {
  public:
    // "WxH", each from 200 to 10000 pixels.
    static bool readSize(const std::string& text, int& width, int& height);
    // The text of option name as a value from 0 to maximum; nothing given leaves value.
    // False after the message when it is not one.
    static bool value(const std::optional<std::string>& text, const std::string& name,
                      float maximum, float& value, std::ostream& err);
    // A distance of the map's scale, from 0.01 to 10000 m; nothing given leaves metres.
    static bool spacing(const std::optional<std::string>& text, const std::string& name,
                        double& metres, std::ostream& err);
    // --size: false after the message when it is given and bad.
    static bool size(const std::optional<std::string>& text, int& width, int& height,
                     std::ostream& err);
};

}  // namespace velkor
