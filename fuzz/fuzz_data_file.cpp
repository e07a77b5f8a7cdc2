// Any bytes as a data file: it loads exactly as a plain model of the line rules says
// (or is refused, the data set untouched), writes, and loads back to the same lines;
// every view and export of it holds up. The same bytes also go in as a variations file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "fuzz/FuzzPrompter.h"
#include "pictures/DrawingSurface.h"
#include "pictures/GraphPainter.h"

namespace {

using namespace velkor;

class NullSurface : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int, int, int, int) override {}
    void text(int, int, const std::string&) override {}
};

// The line rules written out plainly: LF ends a line, CR is dropped, a line longer than
// 84 characters becomes pieces of 84 and a rest, bytes after the last LF make a line.
std::vector<std::string> modelLines(const std::uint8_t* bytes, std::size_t size) {
    std::vector<std::string> lines;
    std::string physical;
    bool open = false;
    auto end = [&] {
        if (physical.empty()) {
            lines.emplace_back();
        }
        for (std::size_t at = 0; at < physical.size(); at += 84) {
            lines.push_back(physical.substr(at, 84));
        }
        physical.clear();
        open = false;
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\n') {
            end();
        } else {
            open = true;
            if (c != '\r') {
                physical.push_back(c);
            }
        }
    }
    if (open) {
        end();
    }
    return lines;
}

bool writeFile(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string path = FuzzPrompter::scratch("in");
    const std::string again = FuzzPrompter::scratch("again");
    FuzzPrompter::require(writeFile(path, bytes, size), "scratch file written");
    FuzzPrompter user;
    DataSet data;
    data.replaceLines({"header before", "reading before"});
    const std::vector<std::string> expected = modelLines(bytes, size);
    const bool fits = expected.size() >= 2 && expected.size() <= DataSet::kCapacity;

    const bool loaded = DataFile::load(path, data, user);
    FuzzPrompter::require(loaded == fits, "loaded exactly when 2 to 20000 lines");
    if (!loaded) {
        FuzzPrompter::require(user.messages.size() == 1, "a refusal is told once");
        FuzzPrompter::require(
            data.lines() == std::vector<std::string>{"header before", "reading before"},
            "a refused file leaves the data set as it was");
        std::remove(path.c_str());
        return 0;
    }
    FuzzPrompter::require(data.lines() == expected, "lines as the line rules say");

    DataSet reread;
    FuzzPrompter::require(DataFile::write(again, data, user), "written");
    FuzzPrompter::require(DataFile::load(again, reread, user), "written file loads");
    FuzzPrompter::require(reread.lines() == data.lines(), "write and load give the same lines");

    GraphPainter painter(data);
    NullSurface surface;
    painter.drawScreen(surface, GraphWindow{997, 613, 40, 0}, 4.0f);
    painter.drawPrinted(surface, GraphWindow{997, 613, 40, 0}, 4.0f, 4800, 6600);
    VariationSet variations;
    if (variations.load(path, user)) {
        data.basis = 100.0f;
        TemporalCorrection::run(data, variations, user);
    }
    data.geomagDone = true;
    for (auto kind : {ExportFile::Kind::Field, ExportFile::Kind::Gradient, ExportFile::Kind::Auto,
                      ExportFile::Kind::Corrected}) {
        int rows = 0;
        (void)ExportFile::lines(kind, data, rows);
    }
    std::remove(path.c_str());
    std::remove(again.c_str());
    return 0;
}
