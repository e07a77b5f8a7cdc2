// Any bytes as a data file and as a variations file: loading, every field, the graph,
// the temporal correction and every export must hold up.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/Prompter.h"
#include "core/TransferMonitor.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "views/DrawingSurface.h"
#include "views/GraphPainter.h"

namespace {

using namespace velkor;

class Quiet : public Prompter {
  public:
    void message(const std::string&, const std::string&) override {}
    Answer askSaveChanges(const std::string&) override { return Answer::No; }
    std::optional<std::string> askOpenFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> askSaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<float> askValue(ValueKind, float, const std::string&) override {
        return std::nullopt;
    }
    void showVariations(const std::string&, const std::vector<std::string>&) override {}
    bool pickDevice(const std::vector<std::string>&, std::uint32_t&) override { return false; }
    std::unique_ptr<TransferMonitor> openTransferWindow() override { return nullptr; }
    bool editCommSettings(CommSettings&) override { return false; }
};

class Null : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int, int, int, int) override {}
    void text(int, int, const std::string&) override {}
};

std::string scratch(const char* name) {
    return "/tmp/velkor-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string path = scratch("in");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes, 1, size, f);
        std::fclose(f);
    }
    Quiet quiet;
    DataSet data;
    VariationSet variations;
    if (DataFile::load(path, data, quiet)) {
        for (int k = 1; k < data.lineCount(); ++k) {
            for (int c = 0; c < kColumnCount; ++c) {
                (void)data.field(k, static_cast<Column>(c));
            }
        }
        GraphPainter painter(data);
        Null surface;
        painter.drawScreen(surface, GraphWindow{997, 613, 40, 0}, 4.0f);
        painter.drawPrinted(surface, GraphWindow{997, 613, 40, 0}, 4.0f, 4800, 6600);
        if (variations.load(path, quiet)) {
            data.basis = 100.0f;
            TemporalCorrection::run(data, variations, quiet);
        }
        data.geomagDone = true;
        for (auto kind : {ExportFile::Kind::Field, ExportFile::Kind::Gradient,
                          ExportFile::Kind::Auto, ExportFile::Kind::Corrected}) {
            int rows = 0;
            (void)ExportFile::lines(kind, data, rows);
        }
    }
    std::remove(path.c_str());
    return 0;
}
