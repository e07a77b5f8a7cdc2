// Everything typed or stored as text: the value dialogs' check against strtod where the
// grammars agree, the line-mode parser and the termios settings it leads to, and the
// stored communication settings (port name, speed text) through the COM port map.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corrections/ValueEntry.h"
#include "fuzz/FuzzPrompter.h"
#include "serial/ComPortMap.h"
#include "serial/CommSettings.h"
#include "serial/LineMode.h"
#include "serial/SerialLink.h"
#include "serial/TermiosMode.h"
#include "text/TextFormat.h"

namespace {

using namespace velkor;

// True when strtod and the dialog read the same grammar: a number between blanks, with
// nothing of C's own (other white space, hexadecimal, infinity, NaN).
bool plainDecimal(const std::string& text) {
    for (char c : text) {
        const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' ||
                             c == '+' || c == '-' || c == ' ';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

void valueEntry(const std::string& text, float minimum, float maximum) {
    const ValueEntry::Result r = ValueEntry::check(text, minimum, maximum);
    FuzzPrompter::require(r.ok == r.message.empty(), "a message exactly when refused");
    FuzzPrompter::require(
        !r.ok || (r.value >= minimum && r.value <= maximum && std::isfinite(r.value)),
        "an accepted value lies in the range");
    if (!plainDecimal(text)) {
        return;
    }
    const std::size_t begin = text.find_first_not_of(' ');
    const std::string core = begin == std::string::npos
                                 ? std::string()
                                 : text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
    errno = 0;
    char* end = nullptr;
    const double c = std::strtod(core.c_str(), &end);
    const bool whole = !core.empty() && end == core.c_str() + core.size();
    if (whole && errno == ERANGE && std::isfinite(c)) {
        return;  // below the normal doubles: strtod reports a range error, the dialog need not
    }
    const bool number = whole && std::isfinite(c) && errno != ERANGE && core.rfind("+-", 0) != 0;
    if (!number) {
        // strtod takes a value past the double range as a number (with ERANGE); both
        // refuse it, the dialog with its own message.
        FuzzPrompter::require(!r.ok, "not a number: refused");
        return;
    }
    if (c < minimum || c > maximum) {
        FuzzPrompter::require(!r.ok && r.message == ValueEntry::rangeMessage(minimum, maximum),
                              "out of range: the range message");
        return;
    }
    FuzzPrompter::require(r.ok && r.value == static_cast<float>(c), "a number in range: its value");
}

void lineMode(const std::string& text) {
    const std::optional<LineMode> m = LineMode::parse(text);
    if (!m) {
        return;
    }
    FuzzPrompter::require(m->speed > 0 && m->dataBits >= 5 && m->dataBits <= 8 &&
                              (m->stopBits == 1 || m->stopBits == 2) &&
                              std::string("neoms").find(m->parity) != std::string::npos,
                          "a parsed mode is a valid one");
    const std::string again =
        formatText("%d,%c,%d,%d", m->speed, m->parity, m->dataBits, m->stopBits);
    FuzzPrompter::require(LineMode::parse(again) == m, "a mode written out parses the same");
    termios t{};
    if (TermiosMode::apply(t, *m)) {
        FuzzPrompter::require(TermiosMode::read(t) == *m, "termios holds the mode applied");
    }
}

void settings(const CommSettings& c) {
    const int port = ComPortMap::portNumber(c.comPort);
    const std::string path = ComPortMap().devicePath(port);
    const bool known = port >= 1 && port <= ComPortMap::kLastPort;
    FuzzPrompter::require(known ? path.rfind("/dev/tty", 0) == 0 : path.empty(),
                          "a known port has its device, others none");
    const ComPortMap mapped({{port, c.baudRate}});
    FuzzPrompter::require(mapped.devicePath(port) == c.baudRate, "an override names its device");
    if (SerialLink::setsSpeed(c.baudRate)) {
        const std::optional<LineMode> m = LineMode::parse(c.baudRate + ",n,8,1");
        FuzzPrompter::require(m && std::to_string(m->speed) == c.baudRate,
                              "a speed the link sets makes a mode of that speed");
        termios t{};
        FuzzPrompter::require(TermiosMode::apply(t, *m), "a speed the link sets is applied");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const std::string typed = in.ConsumeRandomLengthString(40);
    valueEntry(typed, 0.0f, ValueEntry::kBasisMax);
    valueEntry(typed, 0.0f, 100000.0f);
    lineMode(in.ConsumeRandomLengthString(40));
    CommSettings c;
    c.comPort = in.ConsumeRandomLengthString(16);
    c.baudRate = in.ConsumeRandomLengthString(16);
    c.device = in.ConsumeIntegral<int>();
    settings(c);
    return 0;
}
