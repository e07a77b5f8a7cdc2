// The simulated magnetometer.
#include "sim/SimInstrument.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "data/ColumnLayout.h"
#include "data/LineReader.h"
#include "text/NumberText.h"

namespace velkor::sim {
namespace {

constexpr const char* kDefaultDevices =
    "VK2-000123=Proton Magnetometer Velkor-2;FT9A8B7C=FT232R USB UART";
constexpr ULONG kLongestWaitMs = 10000;

std::string env(const char* name, const char* fallback = "") {
    const char* v = std::getenv(name);
    return v != nullptr ? v : fallback;
}

std::vector<SimInstrument::Device> parseDevices(const std::string& text) {
    std::vector<SimInstrument::Device> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t end = std::min(text.find(';', from), text.size());
        const std::string item = text.substr(from, end - from);
        const std::size_t eq = item.find('=');
        if (eq != std::string::npos) {
            out.push_back({item.substr(0, eq), item.substr(eq + 1)});
        }
        from = end + 1;
    }
    return out;
}

// A day on a small grid: a base-station run first, then lines across a buried dyke,
// a gradient reading on every fifth position, now and then a note.
std::vector<InstrumentRecord> syntheticSurvey(int readings) {
    std::vector<InstrumentRecord> out;
    int t = 8 * 3600 + 40 * 60;
    auto stamp = [&](InstrumentRecord& r) {
        r.year = 2026;
        r.month = 7;
        r.day = 3;
        r.hour = static_cast<std::int16_t>(t / 3600 % 24);
        r.minute = static_cast<std::int16_t>(t / 60 % 60);
        r.second = static_cast<std::int16_t>(t % 60);
    };
    for (int k = 0; k < 6 && static_cast<int>(out.size()) < readings; ++k) {
        InstrumentRecord r;
        stamp(r);
        r.mode = 1;
        r.note = 1;
        r.field36 = 48100.0f + 0.8f * static_cast<float>(k);
        r.error = 0.3f;
        r.amplitude = 8.2f;
        r.decay = 1.6f;
        out.push_back(r);
        t += 120;
    }
    for (int line = 1; static_cast<int>(out.size()) < readings; ++line) {
        for (int pos = 1; pos <= 40 && static_cast<int>(out.size()) < readings; ++pos) {
            InstrumentRecord r;
            stamp(r);
            const float x = static_cast<float>(pos - 20) + 1.5f * static_cast<float>(line);
            const float anomaly = 380.0f / (1.0f + (x / 3.5f) * (x / 3.5f));
            const float field = 48100.0f + 0.002f * static_cast<float>(t - 30000) + anomaly +
                                0.4f * std::sin(static_cast<float>(pos * 7 + line));
            r.line = static_cast<std::int16_t>(line);
            r.position = static_cast<std::int16_t>(pos);
            r.error = 0.4f + 0.1f * static_cast<float>((pos * 3) % 9);
            r.amplitude = 7.4f;
            r.decay = 1.5f;
            r.note = pos % 13 == 0 ? static_cast<std::int16_t>(1 + (pos + line) % 39) : 0;
            if (pos % 5 == 0) {
                r.mode = 2;
                r.field28 = field;
                r.field36 = -95.0f * x / (12.25f * (1.0f + (x / 3.5f) * (x / 3.5f)));
            } else {
                r.field36 = field;
            }
            out.push_back(r);
            t += 31;
        }
        t += 240;
    }
    return out;
}

}  // namespace

SimInstrument& instrument() {
    static SimInstrument one;
    static bool configured = false;
    if (!configured) {
        one.configure();
        configured = true;
    }
    return one;
}

void SimInstrument::configure() {
    devices_ = parseDevices(env("VELKOR_SIM_DEVICES", kDefaultDevices));
    fault_ = env("VELKOR_SIM_FAULT");
    breakAfter_ = fault_.rfind("break:", 0) == 0 ? std::atol(fault_.c_str() + 6) : -1;
    delayMs_ = std::atoi(env("VELKOR_SIM_DELAY_MS", "0").c_str());
    records_ = loadSurvey();
    if (fault_ == "badcodes" && !records_.empty()) {
        records_.front().mode = 7;
        records_.front().note = 55;
    }
    // "huge": readings 2, 5, 8, ... hold values far too wide for their columns, a
    // field of 1e30 and an error of 3e38 in turn.
    for (std::size_t i = 1; fault_ == "huge" && i < records_.size(); i += 3) {
        if (i % 2 == 1) {
            records_[i].field28 = records_[i].field36 = 1e30f;
        } else {
            records_[i].error = 3e38f;
        }
    }
    pending_.clear();
    open_ = false;
    opens_ = 0;
    closes_ = 0;
}

std::vector<InstrumentRecord> SimInstrument::loadSurvey() const {
    const std::string file = env("VELKOR_SIM_SURVEY");
    if (file.empty()) {
        const int n = std::atoi(env("VELKOR_SIM_READINGS", "246").c_str());
        return syntheticSurvey(n > 0 ? n : 0);
    }
    const LineReader::Result read = LineReader::read(file, 1000000);
    std::vector<InstrumentRecord> out;
    if (read.lines.size() < 2) {
        return out;
    }
    const ColumnLayout layout = ColumnLayout::chooseFor(read.lines[1]);
    for (std::size_t i = 1; i < read.lines.size(); ++i) {
        const std::string& l = read.lines[i];
        auto field = [&](Column c) { return layout.cut(l, c); };
        auto part = [](std::string_view text, std::size_t from, std::size_t width) {
            return from < text.size() ? readInteger(text.substr(from, width)) : 0;
        };
        InstrumentRecord r;
        const std::string_view date = field(Column::Date);
        const std::string_view time = field(Column::Time);
        r.day = static_cast<std::int16_t>(part(date, 0, 2));
        r.month = static_cast<std::int16_t>(part(date, 3, 2));
        r.year = static_cast<std::int16_t>(part(date, 6, 4));
        r.hour = static_cast<std::int16_t>(part(time, 0, 2));
        r.minute = static_cast<std::int16_t>(part(time, 3, 2));
        r.second = static_cast<std::int16_t>(part(time, 6, 2));
        r.mode = InstrumentRecord::modeCode(l.empty() ? 'S' : l[0]);
        r.line = static_cast<std::int16_t>(readInteger(field(Column::Line)));
        r.position = static_cast<std::int16_t>(readInteger(field(Column::Pos)));
        r.note = InstrumentRecord::noteCode(std::string(field(Column::Note)));
        r.error = static_cast<float>(readDecimal(field(Column::Err)));
        r.amplitude = static_cast<float>(readDecimal(field(Column::A)));
        r.decay = static_cast<float>(readDecimal(field(Column::D)));
        const float value = static_cast<float>(readDecimal(field(Column::Field)));
        if (r.mode == 2) {
            r.field28 = value;
            r.field36 = static_cast<float>(readDecimal(field(Column::Grad)));
        } else {
            r.field36 = value;
        }
        out.push_back(r);
    }
    return out;
}

FT_STATUS SimInstrument::open(const std::string& serial, FT_HANDLE& handle) {
    for (const Device& d : devices_) {
        if (d.serial == serial) {
            if (open_ || fault_ == "busy") {
                return FT_DEVICE_NOT_OPENED;
            }
            open_ = true;
            ++opens_;
            openedSerial_ = serial;
            talks_ = d.description == "Proton Magnetometer Velkor-2";
            pending_.clear();
            next_ = 0;
            sent_ = 0;
            broken_ = false;
            readTimeoutMs_ = 0;
            handle = this;
            return FT_OK;
        }
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS SimInstrument::close(FT_HANDLE handle) {
    if (!valid(handle)) {
        return FT_INVALID_HANDLE;
    }
    open_ = false;
    ++closes_;
    pending_.clear();
    return FT_OK;
}

FT_STATUS SimInstrument::setTimeouts(FT_HANDLE handle, ULONG readMs) {
    if (!valid(handle)) {
        return FT_INVALID_HANDLE;
    }
    if (fault_ == "notimeouts") {  // a library that refuses time-outs
        return FT_IO_ERROR;
    }
    readTimeoutMs_ = readMs;
    return FT_OK;
}

void SimInstrument::queueBytes(const std::uint8_t* bytes, std::size_t count) {
    pending_.insert(pending_.end(), bytes, bytes + count);
}

void SimInstrument::queueRecord() {
    if (next_ >= records_.size()) {
        return;
    }
    std::uint8_t head[InstrumentRecord::kHeadSize];
    std::uint8_t body[InstrumentRecord::kBodySize];
    records_[next_++].encode(head, body);
    queueBytes(head, sizeof head);
    queueBytes(body, sizeof body);
    if (delayMs_ > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs_));
    }
}

void SimInstrument::answer(std::uint8_t byte) {
    if (!talks_ || fault_ == "silent") {
        return;
    }
    if (byte == '$') {
        const std::uint8_t echo = fault_ == "echo" ? '#' : '$';
        queueBytes(&echo, 1);
    } else if (byte == '?') {
        std::uint32_t count = static_cast<std::uint32_t>(records_.size());
        if (fault_ == "nodata") {
            count = 0xFFFFFFFFu;
        } else if (fault_ == "empty") {
            count = 0;
        } else if (fault_.rfind("count:", 0) == 0) {
            count = static_cast<std::uint32_t>(std::strtoul(fault_.c_str() + 6, nullptr, 10));
        }
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
            static_cast<std::uint8_t>(count >> 16), static_cast<std::uint8_t>(count >> 24)};
        queueBytes(bytes, 4);
        if (count != 0xFFFFFFFFu && count > 0) {
            queueRecord();
        }
    } else if (byte == 0x0A) {
        queueRecord();
    }
}

FT_STATUS SimInstrument::write(FT_HANDLE handle, const std::uint8_t* bytes, DWORD count,
                               DWORD& written) {
    written = 0;
    if (!valid(handle)) {
        return FT_INVALID_HANDLE;
    }
    if (broken_) {
        return FT_IO_ERROR;
    }
    for (DWORD i = 0; i < count; ++i) {
        answer(bytes[i]);
    }
    written = count;
    return FT_OK;
}

FT_STATUS SimInstrument::read(FT_HANDLE handle, std::uint8_t* bytes, DWORD count, DWORD& received) {
    received = 0;
    if (!valid(handle)) {
        return FT_INVALID_HANDLE;
    }
    while (received < count) {
        if (breakAfter_ >= 0 && sent_ >= breakAfter_) {
            broken_ = true;
            return FT_IO_ERROR;
        }
        if (pending_.empty()) {
            // Nothing more will come: the real bridge would give up at its time-out.
            const ULONG wait = readTimeoutMs_ == 0 ? kLongestWaitMs : readTimeoutMs_;
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            return FT_OK;
        }
        bytes[received++] = pending_.front();
        pending_.pop_front();
        ++sent_;
    }
    return FT_OK;
}

}  // namespace velkor::sim
