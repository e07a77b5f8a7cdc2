// Export file formats.
#include "export/ExportFile.h"

#include <optional>

#include "core/Prompter.h"
#include "core/SafeFileWriter.h"
#include "corrections/CorrectedValue.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr std::string_view kEnd = "\r\n";

// A column text as printf's "%s" writes it: up to a NUL byte, should a line hold one.
std::string_view cText(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Rows of three column texts for the readings whose mode letter passes keep, written as
// lead, a, mid, b, gap, c: the one shape of the three text exports ("%s%s %s", " %s %s %s").
template <typename Keep>
int textRows(const DataSet& d, Keep keep, std::string_view lead, Column a, std::string_view mid,
             Column b, std::string_view gap, Column c, std::string& out) {
    int rows = 0;
    for (int i = 1; i < d.lineCount(); ++i) {
        if (keep(d.mode(i))) {
            out += lead;
            out += cText(d.field(i, a));
            out += mid;
            out += cText(d.field(i, b));
            out += gap;
            out += cText(d.field(i, c));
            out += kEnd;
            ++rows;
        }
    }
    return rows;
}

int correctedRows(const DataSet& d, std::string& out) {
    int rows = 0;
    for (int i = 1; i < d.lineCount(); ++i) {
        if (const std::optional<float> value = CorrectedValue::of(d, i)) {
            // As "%s%s%9.1f" wrote it.
            out += cText(d.field(i, Column::Line));
            out += cText(d.field(i, Column::Pos));
            appendFixed(out, static_cast<double>(*value), 9, 1);
            out += kEnd;
            ++rows;
        }
    }
    return rows;
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
                appendFormatted(out, "Variations Basis%9.1fnT\r\n",
                                static_cast<double>(data.basis));
            }
            if (data.geomagDone) {
                appendFormatted(out, "Geomagnetic Field%9.1fnT\r\n",
                                static_cast<double>(data.geomag));
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
