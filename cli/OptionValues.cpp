// Option values of the commands before survey.
#include "cli/OptionValues.h"

#include <ostream>

#include "corrections/ValueEntry.h"
#include "pictures/PlanMapGeometry.h"
#include "text/NumberText.h"

namespace velkor {

bool OptionValues::readSize(const std::string& text, int& width, int& height) {
    const std::size_t by = text.find('x');
    if (by == std::string::npos) {
        return false;
    }
    const std::string w = text.substr(0, by);
    const std::string h = text.substr(by + 1);
    width = readInteger(w);
    height = readInteger(h);
    return std::to_string(width) == w && std::to_string(height) == h && width >= 200 &&
           height >= 200 && width <= 10000 && height <= 10000;
}

bool OptionValues::value(const std::optional<std::string>& text, const std::string& name,
                         float maximum, float& value, std::ostream& err) {
    if (!text) {
        return true;
    }
    const ValueEntry::Result r = ValueEntry::check(*text, 0.0f, maximum);
    if (!r.ok) {
        err << "velkor2tr-cli: " << name << ": " << r.message << '\n';
        return false;
    }
    value = r.value;
    return true;
}

bool OptionValues::spacing(const std::optional<std::string>& text, const std::string& name,
                           double& metres, std::ostream& err) {
    if (!text) {
        return true;
    }
    const PlanMapGeometry::SpacingEntry e = PlanMapGeometry::readSpacing(*text);
    if (!e.ok) {
        err << "velkor2tr-cli: " << name << ": " << e.message << '\n';
        return false;
    }
    metres = e.metres;
    return true;
}

bool OptionValues::size(const std::optional<std::string>& text, int& width, int& height,
                        std::ostream& err) {
    if (text && !readSize(*text, width, height)) {
        err << "velkor2tr-cli: --size: give WxH, each from 200 to 10000 pixels.\n";
        return false;
    }
    return true;
}

}  // namespace velkor
