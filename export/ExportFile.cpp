// Export file formats.
#include "export/ExportFile.h"

#include <optional>

#include "core/Prompter.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "data/NumberReading.h"
#include "data/SafeFileWriter.h"
#include "data/TextFormat.h"
#include "export/CorrectedValue.h"

namespace velkor {
namespace {

std::string cut(const DataSet& d, int i, Column c) {
    return std::string(d.field(i, c));
}

// Rows of three column texts for the readings whose mode letter passes keep.
template <typename Keep>
void textRows(const DataSet& d, Keep keep, const char* format, Column a, Column b, Column c,
              std::vector<std::string>& out) {
    for (int i = 1; i < d.lineCount(); ++i) {
        if (keep(d.mode(i))) {
            out.push_back(formatText(format, cut(d, i, a).c_str(), cut(d, i, b).c_str(),
                                     cut(d, i, c).c_str()));
        }
    }
}

void correctedRow(const DataSet& d, int i, float exported, std::vector<std::string>& out) {
    out.push_back(formatText("%s%s%9.1f", cut(d, i, Column::Line).c_str(),
                             cut(d, i, Column::Pos).c_str(), static_cast<double>(exported)));
}

void correctedRows(const DataSet& d, std::vector<std::string>& out) {
    for (int i = 1; i < d.lineCount(); ++i) {
        if (const std::optional<float> value = CorrectedValue::of(d, i)) {
            correctedRow(d, i, *value, out);
        }
    }
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

std::vector<std::string> ExportFile::lines(Kind kind, const DataSet& data, int& rows) {
    std::vector<std::string> out;
    switch (kind) {
        case Kind::Field:
            break;
        case Kind::Gradient:
            out.push_back(" Line  Pos  Gradient");
            break;
        case Kind::Auto:
            out.push_back(" Date       Time     Variations");
            break;
        case Kind::Corrected:
            if (data.temporalDone) {
                out.push_back(
                    formatText("Variations Basis%9.1fnT", static_cast<double>(data.basis)));
            }
            if (data.geomagDone) {
                out.push_back(
                    formatText("Geomagnetic Field%9.1fnT", static_cast<double>(data.geomag)));
            }
            out.push_back(" Line Pos  Corrected");
            break;
    }
    const std::size_t headers = out.size();
    switch (kind) {
        case Kind::Field:
            textRows(
                data, [](char m) { return m != 'A'; }, "%s%s %s", Column::Line, Column::Pos,
                Column::Field, out);
            break;
        case Kind::Gradient:
            textRows(
                data, [](char m) { return m == 'G'; }, "%s%s %s", Column::Line, Column::Pos,
                Column::Grad, out);
            break;
        case Kind::Auto:
            textRows(
                data, [](char m) { return m == 'A'; }, " %s %s %s", Column::Date, Column::Time,
                Column::Field, out);
            break;
        case Kind::Corrected:
            correctedRows(data, out);
            break;
    }
    rows = static_cast<int>(out.size() - headers);
    return out;
}

bool ExportFile::write(Kind kind, const std::string& path, DataSet& data, Prompter& prompter) {
    int rows = 0;
    const std::vector<std::string> text = lines(kind, data, rows);
    SafeFileWriter out(path);
    if (out.open()) {
        for (const std::string& line : text) {
            out.writeLine(line);
        }
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
