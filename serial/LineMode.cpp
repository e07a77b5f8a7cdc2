// Mode string parsing.
#include "serial/LineMode.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "text/Trim.h"

namespace velkor {
namespace {

bool wholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 7) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace

std::optional<LineMode> LineMode::parse(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        parts.emplace_back(Trim::spaces(part));
    }
    if (parts.size() != 4 || parts[1].size() != 1) {
        return std::nullopt;
    }
    LineMode m;
    m.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(parts[1][0])));
    if (!wholeNumber(parts[0], m.speed) || !wholeNumber(parts[2], m.dataBits) ||
        !wholeNumber(parts[3], m.stopBits)) {
        return std::nullopt;
    }
    const bool parityKnown =
        m.parity == 'n' || m.parity == 'e' || m.parity == 'o' || m.parity == 'm' || m.parity == 's';
    if (m.speed <= 0 || !parityKnown || m.dataBits < 5 || m.dataBits > 8 ||
        (m.stopBits != 1 && m.stopBits != 2)) {
        return std::nullopt;
    }
    return m;
}

}  // namespace velkor
