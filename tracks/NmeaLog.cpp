// NMEA 0183: GGA, RMC and ZDA sentences read into dated fixes.
#include "tracks/NmeaLog.h"

#include <cmath>
#include <optional>
#include <string>

#include "text/CalendarDate.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

constexpr double kDay = 86400.0;

std::vector<std::string_view> fieldsOf(std::string_view body) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t comma = body.find(','); comma != std::string_view::npos;
         comma = body.find(',', start)) {
        fields.push_back(body.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(body.substr(start));
    return fields;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The text between "$" and "*" when the two hex digits after "*" are the exclusive-or of
// its bytes, as every sentence carries them; nothing when they are missing or wrong.
std::optional<std::string_view> checkedBody(std::string_view line) {
    const std::size_t star = line.rfind('*');
    if (star == std::string_view::npos || line.size() != star + 3) {
        return std::nullopt;
    }
    const int high = hexDigit(line[star + 1]);
    const int low = hexDigit(line[star + 2]);
    if (high < 0 || low < 0 || NmeaLog::checksum(line.substr(1, star - 1)) != high * 16 + low) {
        return std::nullopt;
    }
    return line.substr(1, star - 1);
}

bool allDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

// "hhmmss" or "hhmmss.sss", in seconds of the day.
std::optional<double> timeOfDay(std::string_view text) {
    if (text.size() < 6 || !allDigits(text.substr(0, 6))) {
        return std::nullopt;
    }
    const int h = (text[0] - '0') * 10 + (text[1] - '0');
    const int m = (text[2] - '0') * 10 + (text[3] - '0');
    const std::optional<double> s =
        readWholeNumber(text.substr(4), WholeNumber::TypedWithoutExponent);
    if (h > 23 || m > 59 || !s || *s < 0.0 || *s >= 61.0 || (text.size() > 6 && text[6] != '.')) {
        return std::nullopt;
    }
    return h * 3600.0 + m * 60.0 + *s;
}

// "ddmm.mmmmm" (or "dddmm.mmmmm") and its hemisphere, in degrees, to the text's precision.
std::optional<double> coordinate(std::string_view text, std::string_view hemisphere, double limit) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::optional<double> v = readWholeNumber(text, WholeNumber::TypedWithoutExponent);
    if (whole.size() < 3 || !allDigits(whole) || !v) {
        return std::nullopt;
    }
    const double degrees = std::floor(*v / 100.0);
    const double minutes = *v - degrees * 100.0;
    const double value = degrees + minutes / 60.0;
    if (minutes >= 60.0 || value > limit) {
        return std::nullopt;
    }
    if (hemisphere == "S" || hemisphere == "W") {
        return -value;
    }
    return hemisphere == "N" || hemisphere == "E" ? std::optional<double>(value) : std::nullopt;
}

std::optional<long> dayNumber(int day, int month, int year) {
    if (month < 1 || month > 12 || day < 1 || day > CalendarDate::daysInMonth(year, month)) {
        return std::nullopt;
    }
    return CalendarDate{year, month, day}.dayNumber();
}

int twoDigits(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

class Reader {
  public:
    NmeaLog::Result result;

    void line(std::string_view text, int number) {
        if (text.empty() || text[0] != '$') {
            return;
        }
        ++result.sentences;
        number_ = number;
        const std::string_view address = text.substr(1, text.find(',') - 1);
        const std::string_view kind = address.size() == 5 ? address.substr(2) : "";
        if (kind != "GGA" && kind != "RMC" && kind != "ZDA") {
            return;
        }
        const std::optional<std::string_view> body = checkedBody(text);
        if (!body) {
            refuse(NmeaLog::Refusal::Checksum);
            return;
        }
        const std::vector<std::string_view> f = fieldsOf(*body);
        if (kind == "GGA") {
            gga(f);
        } else if (kind == "RMC") {
            rmc(f);
        } else {
            zda(f);
        }
    }

  private:
    void refuse(NmeaLog::Refusal r) {
        const auto k = static_cast<std::size_t>(r);
        if (result.refused[k]++ == 0) {
            result.firstLine[k] = number_;
        }
    }

    // Position fields from index at: latitude, N/S, longitude, E/W.
    bool place(const std::vector<std::string_view>& f, std::size_t at, double& lat, double& lon) {
        const auto la = coordinate(f[at], f[at + 1], 90.0);
        const auto lo = coordinate(f[at + 2], f[at + 3], 180.0);
        if (!la || !lo) {
            return false;
        }
        lat = *la;
        lon = *lo;
        return true;
    }

    void gga(const std::vector<std::string_view>& f) {
        if (f.size() < 10) {
            refuse(NmeaLog::Refusal::Malformed);
            return;
        }
        if (f[6].empty() || f[6] == "0") {
            refuse(NmeaLog::Refusal::NoFix);
            return;
        }
        const std::optional<double> tod = timeOfDay(f[1]);
        double lat = 0.0;
        double lon = 0.0;
        if (!tod || !place(f, 2, lat, lon)) {
            refuse(NmeaLog::Refusal::Malformed);
            return;
        }
        if (!day_) {
            refuse(NmeaLog::Refusal::NoDate);
            return;
        }
        // GGA carries no date: a time well before the last one is the next day's.
        if (*tod + kDay / 2 < lastTime_) {
            ++*day_;
        }
        lastTime_ = *tod;
        const std::optional<double> height =
            readWholeNumber(f[9], WholeNumber::TypedWithoutExponent);
        add(*tod, lat, lon, height.value_or(std::nan("")));
    }

    void rmc(const std::vector<std::string_view>& f) {
        if (f.size() < 10) {
            refuse(NmeaLog::Refusal::Malformed);
            return;
        }
        if (f[2] != "A") {
            refuse(NmeaLog::Refusal::NoFix);
            return;
        }
        const std::optional<double> tod = timeOfDay(f[1]);
        double lat = 0.0;
        double lon = 0.0;
        const std::string_view date = f[9];
        std::optional<long> day;
        if (date.size() == 6 && allDigits(date)) {
            const int yy = twoDigits(date, 4);
            day =
                dayNumber(twoDigits(date, 0), twoDigits(date, 2), yy < 80 ? 2000 + yy : 1900 + yy);
        }
        if (!tod || !day || !place(f, 3, lat, lon)) {
            refuse(NmeaLog::Refusal::Malformed);
            return;
        }
        setDate(*day, *tod);
        add(*tod, lat, lon, std::nan(""));
    }

    void zda(const std::vector<std::string_view>& f) {
        const std::optional<double> tod = f.size() >= 5 ? timeOfDay(f[1]) : std::nullopt;
        std::optional<long> day;
        if (tod && f[2].size() == 2 && f[3].size() == 2 && f[4].size() == 4 && allDigits(f[2]) &&
            allDigits(f[3]) && allDigits(f[4])) {
            day = dayNumber(readInteger(f[2]), readInteger(f[3]), readInteger(f[4]));
        }
        if (!day) {
            refuse(NmeaLog::Refusal::Malformed);
            return;
        }
        setDate(*day, *tod);
    }

    void setDate(long day, double tod) {
        day_ = day;
        lastTime_ = tod;
    }

    void add(double tod, double lat, double lon, double elevation) {
        result.fixes.push_back({static_cast<double>(*day_) * kDay + tod, lat, lon, elevation});
    }

    std::optional<long> day_;
    double lastTime_ = -1.0;
    int number_ = 0;
};

}  // namespace

NmeaLog::Result NmeaLog::read(std::string_view text) {
    Reader reader;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        // Lines end in LF, CR LF or a lone CR.
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        reader.line(text.substr(start, end - start), ++number);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return reader.result;
}

const char* NmeaLog::name(Refusal r) {
    static constexpr const char* kNames[] = {"bad or missing checksum", "no fix",
                                             "no date before it", "unreadable"};
    return kNames[static_cast<std::size_t>(r)];
}

int NmeaLog::checksum(std::string_view body) {
    int sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    return sum;
}

}  // namespace velkor
