// Export file formats.
#include "export/ExportFile.h"

#include <optional>

#include "core/Prompter.h"
#include "core/SafeFileWriter.h"
#include "corrections/CorrectedValue.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "data/NumberReading.h"
#include "data/TextFormat.h"
#include "export/RowSink.h"

namespace velkor {
namespace {

constexpr std::string_view kEnd = "\r\n";

// A column text as a C string carries it: up to a NUL byte, should a line hold one.
char* putText(char* at, std::string_view text) {
    // A loop in place: these texts are a few characters, too short for a library call.
    for (char c : text) {
        if (c == '\0') {
            break;
        }
        *at++ = c;
    }
    return at;
}

// Rows of three column texts for the readings whose mode letter passes keep, written as
// lead, a, mid, b, gap, c: the one shape of the three text exports.
template <typename Keep>
int textRows(const DataSet& d, Keep keep, std::string_view lead, Column a, std::string_view mid,
             Column b, std::string_view gap, Column c, std::string& out) {
    RowSink sink(out);
    int rows = 0;
    for (int i = 1; i < d.lineCount(); ++i) {
        if (keep(d.mode(i))) {
            const std::string_view ta = d.field(i, a);
            const std::string_view tb = d.field(i, b);
            const std::string_view tc = d.field(i, c);
            char* at = sink.room(lead.size() + ta.size() + mid.size() + tb.size() + gap.size() +
                                 tc.size() + kEnd.size());
            at = RowSink::put(at, lead);
            at = putText(at, ta);
            at = RowSink::put(at, mid);
            at = putText(at, tb);
            at = RowSink::put(at, gap);
            at = putText(at, tc);
            sink.done(RowSink::put(at, kEnd));
            ++rows;
        }
    }
    return rows;
}

int correctedRows(const DataSet& d, std::string& out) {
    RowSink sink(out);
    int rows = 0;
    for (int i = 1; i < d.lineCount(); ++i) {
        if (const std::optional<float> value = CorrectedValue::of(d, i)) {
            const std::string_view line = d.field(i, Column::Line);
            const std::string_view pos = d.field(i, Column::Pos);
            char* at = sink.room(line.size() + pos.size() + fixedRoom(9, 1) + kEnd.size());
            at = putText(at, line);
            at = putText(at, pos);
            at = writeFixed(at, static_cast<double>(*value), 9, 1);
            sink.done(RowSink::put(at, kEnd));
            ++rows;
        }
    }
    return rows;
}

void headerValue(std::string_view name, float value, std::string& out) {
    out += name;
    appendFixed(out, static_cast<double>(value), 9, 1);
    out += "nT";
    out += kEnd;
}

}  // namespace

namespace {

struct FileType {
    const char* filter;
    const char* ext;
};

// Indexed by Kind; the Auto export writes a variations file.
constexpr FileType kTypes[] = {
    {"Magnetic field files (*.f)|*.f||", "f"},
    {"Gradient files (*.g)|*.g||", "g"},
    {VariationSet::kFilter, VariationSet::kDefaultExt},
    {"Corrected field files (*.cf)|*.cf||", "cf"},
};

}  // namespace

const char* ExportFile::filter(Kind kind) {
    return kTypes[static_cast<int>(kind)].filter;
}

const char* ExportFile::defaultExt(Kind kind) {
    return kTypes[static_cast<int>(kind)].ext;
}

std::string ExportFile::text(Kind kind, const DataSet& data, int& rows) {
    std::string out;
    // A row is at most two column texts of 10 characters, a value and the line end.
    out.reserve(static_cast<std::size_t>(data.lineCount()) * 32 + 128);
    switch (kind) {
        case Kind::Field:
            rows = textRows(
                data, [](char m) { return m != 'A'; }, "", Column::Line, "", Column::Pos, " ",
                Column::Field, out);
            break;
        case Kind::Gradient:
            out += " Line  Pos  Gradient\r\n";
            rows = textRows(
                data, [](char m) { return m == 'G'; }, "", Column::Line, "", Column::Pos, " ",
                Column::Grad, out);
            break;
        case Kind::Auto:
            out += " Date       Time     Variations\r\n";
            rows = textRows(
                data, [](char m) { return m == 'A'; }, " ", Column::Date, " ", Column::Time, " ",
                Column::Field, out);
            break;
        case Kind::Corrected:
            if (data.temporalDone) {
                headerValue("Variations Basis", data.basis, out);
            }
            if (data.geomagDone) {
                headerValue("Geomagnetic Field", data.geomag, out);
            }
            out += " Line Pos  Corrected\r\n";
            rows = correctedRows(data, out);
            break;
    }
    return out;
}

std::vector<std::string> ExportFile::lines(Kind kind, const DataSet& data, int& rows) {
    const std::string all = text(kind, data, rows);
    std::vector<std::string> out;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find(kEnd, at);
        out.emplace_back(all, at, end - at);
        at = end + kEnd.size();
    }
    return out;
}

bool ExportFile::write(Kind kind, const std::string& path, DataSet& data, Prompter& prompter) {
    int rows = 0;
    return write(kind, path, data, prompter, rows);
}

bool ExportFile::write(Kind kind, const std::string& path, DataSet& data, Prompter& prompter,
                       int& rows) {
    rows = 0;
    const std::string bytes = text(kind, data, rows);
    SafeFileWriter out(path);
    if (out.open()) {
        out.write(bytes);
    }
    if (!out.commit()) {
        prompter.message(DataFile::kWriteError);
        return false;
    }
    data.nothingWritten = rows == 0;
    if (data.nothingWritten) {
        prompter.message(kNothing);
    }
    return true;
}

}  // namespace velkor
