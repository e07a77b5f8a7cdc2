#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "support/ForkedChild.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

const std::string kS = "S 03.07.2026 10:15:42    12     7 48123.4  0.7 7 1.5          Base ";
const std::string kG = "G 03.07.2026 10:16:02    12     8 48130.9  1.2 6 1.4    124.0 Fence";
const std::string kA = "A 03.07.2026 10:20:00     0     0 48110.2  0.4 8 1.6          Base ";
const std::string kCommaG =
    "G, 04.07.2026, 11:00:05,  0012,   007, 48100.0,  0.7,   7,  1.5,    -12.5";
const std::string kCommaA = "A, 04.07.2026, 11:01:00,     0,     0, 48101.5,  0.7,   7,  1.5";

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l + "\r\n";
    }
    return out;
}

class ExportTest : public ::testing::Test {
  protected:
    void setData(const std::vector<std::string>& readings) {
        std::vector<std::string> lines{"M header "};
        lines.insert(lines.end(), readings.begin(), readings.end());
        data.replaceLines(lines);
    }
    std::string exported(ExportFile::Kind kind) {
        const std::string path = dir.path("out");
        EXPECT_TRUE(ExportFile::write(kind, path, data, prompter));
        return TempDir::read(path);
    }

    TempDir dir;
    RecordingPrompter prompter;
    DataSet data;
};

}  // namespace

TEST_F(ExportTest, BlankLayoutFilesByteForByte) {
    setData({kS, kG, kA});
    EXPECT_EQ(exported(ExportFile::Kind::Field),
              crlf({"   12    7 48123.4", "   12    8 48130.9"}));
    EXPECT_EQ(exported(ExportFile::Kind::Gradient),
              crlf({" Line  Pos  Gradient", "   12    8    124.0"}));
    EXPECT_EQ(exported(ExportFile::Kind::Auto),
              crlf({" Date       Time     Variations", " 03.07.2026 10:20:00 48110.2"}));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(data.nothingWritten);
}

TEST_F(ExportTest, CommaLayoutFilesByteForByte) {
    setData({kCommaG, kCommaA});
    ASSERT_EQ(data.layout().kind(), ColumnLayout::Kind::Comma);
    EXPECT_EQ(exported(ExportFile::Kind::Field), crlf({" 0012  007 48100.0"}));
    EXPECT_EQ(exported(ExportFile::Kind::Gradient),
              crlf({" Line  Pos  Gradient", " 0012  007    -12.5"}));
    EXPECT_EQ(exported(ExportFile::Kind::Auto),
              crlf({" Date       Time     Variations", " 04.07.2026 11:01:00 48101.5"}));
}

TEST_F(ExportTest, NothingToExportLeavesTheFileAndSaysSo) {
    setData({kA});
    EXPECT_EQ(exported(ExportFile::Kind::Field), "");
    EXPECT_EQ(exported(ExportFile::Kind::Gradient), crlf({" Line  Pos  Gradient"}));
    EXPECT_TRUE(data.nothingWritten);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>(
                                    2, "There is nothing to export. The output file is empty.")));
    prompter.shown.clear();
    setData({kS});
    EXPECT_EQ(exported(ExportFile::Kind::Auto), crlf({" Date       Time     Variations"}));
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(ExportTest, CorrectedAfterTemporalAndGeomagnetic) {
    setData({kS, kG, kA});
    // Geomagnetic 0 confirmed, no temporal correction: every non-'A' field, unchanged.
    data.geomagDone = true;
    EXPECT_EQ(exported(ExportFile::Kind::Corrected),
              crlf({"Geomagnetic Field      0.0nT", " Line Pos  Corrected", "   12    7  48123.4",
                    "   12    8  48130.9"}));

    // After a partial temporal correction only the corrected readings are listed.
    data.temporalDone = true;
    data.basis = 48000.0f;
    data.setCorrected(2, 48012.5f);
    data.geomag = 47000.0f;
    EXPECT_EQ(exported(ExportFile::Kind::Corrected),
              crlf({"Variations Basis  48000.0nT", "Geomagnetic Field  47000.0nT",
                    " Line Pos  Corrected", "   12    8   1012.5"}));
    data.geomagDone = false;
    data.geomag = 0.0f;
    EXPECT_EQ(exported(ExportFile::Kind::Corrected),
              crlf({"Variations Basis  48000.0nT", " Line Pos  Corrected", "   12    8  48012.5"}));
}

TEST_F(ExportTest, CorrectedLeavesOutFieldsThatHoldNoNumber) {
    std::string blank = kS;
    blank.replace(34, 7, "       ");
    std::string nan = kS;
    nan.replace(34, 7, "    nan");
    std::string zero = kS;
    zero.replace(34, 7, "    0.0");
    setData({blank, kG, nan, zero, kS.substr(0, 30)});
    data.geomagDone = true;
    data.geomag = 50000.0f;
    EXPECT_EQ(exported(ExportFile::Kind::Corrected),
              crlf({"Geomagnetic Field  50000.0nT", " Line Pos  Corrected", "   12    8  -1869.1",
                    "   12    7 -50000.0"}));
    // None qualifies: the notice, as for any export without a row.
    setData({blank});
    data.geomagDone = true;
    data.geomag = 50000.0f;
    EXPECT_EQ(exported(ExportFile::Kind::Corrected),
              crlf({"Geomagnetic Field  50000.0nT", " Line Pos  Corrected"}));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, ExportFile::kNothing);
}

TEST_F(ExportTest, AutoExportReadsBackAsVariations) {
    setData({kA, kS, kA});
    const std::string path = dir.path("base.a");
    ASSERT_TRUE(ExportFile::write(ExportFile::Kind::Auto, path, data, prompter));
    VariationSet v;
    ASSERT_TRUE(v.load(path, prompter));
    ASSERT_EQ(v.count(), 3);
    EXPECT_EQ(v.date(1), "03.07.2026");
    EXPECT_EQ(v.seconds(2), 10 * 3600 + 20 * 60);
    EXPECT_DOUBLE_EQ(v.value(2), 48110.2);
}

TEST_F(ExportTest, WriteErrorKeepsTheOldFile) {
    setData({kS});
    // The user's own read-only file: its mode forbids writing, so it is not replaced.
    const std::string old = dir.path("old.f");
    std::filesystem::permissions(dir.dir(), std::filesystem::perms::all);
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            dir.write("old.f", "old\r\n");
            ::chmod(old.c_str(), 0444);
            return !ExportFile::write(ExportFile::Kind::Field, old, data, prompter) &&
                   prompter.texts() == std::vector<std::string>{"Write error"};
        },
        10, ForkedChild::kNobody));
    EXPECT_EQ(TempDir::read(old), "old\r\n");
    // A FIFO in the target's place is no file to replace.
    const std::string fifo = dir.path("pipe.f");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(ExportFile::write(ExportFile::Kind::Field, fifo, data, prompter));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Write error"}));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_STREQ(ExportFile::filter(ExportFile::Kind::Corrected),
                 "Corrected field files (*.cf)|*.cf||");
    EXPECT_STREQ(ExportFile::defaultExt(ExportFile::Kind::Field), "f");
}

// The four files written row by row with printf and the export formats, as the
// reference for the files the program builds in one buffer.
std::string printfExport(ExportFile::Kind kind, const DataSet& d) {
    std::string out;
    char row[512];
    auto put = [&](const char* format, auto... args) {
        if constexpr (sizeof...(args) == 0) {
            out += format;  // a header line: no conversion in it
        } else {
            std::snprintf(row, sizeof row, format, args...);
            out += row;
        }
        out += "\r\n";
    };
    auto col = [&](int i, Column c) { return std::string(d.field(i, c)); };
    if (kind == ExportFile::Kind::Gradient) {
        put(" Line  Pos  Gradient");
    } else if (kind == ExportFile::Kind::Auto) {
        put(" Date       Time     Variations");
    } else if (kind == ExportFile::Kind::Corrected) {
        if (d.temporalDone) {
            put("Variations Basis%9.1fnT", static_cast<double>(d.basis));
        }
        if (d.geomagDone) {
            put("Geomagnetic Field%9.1fnT", static_cast<double>(d.geomag));
        }
        put(" Line Pos  Corrected");
    }
    for (int i = 1; i < d.lineCount(); ++i) {
        const char m = d.mode(i);
        const std::string line = col(i, Column::Line);
        const std::string pos = col(i, Column::Pos);
        if (kind == ExportFile::Kind::Field && m != 'A') {
            put("%s%s %s", line.c_str(), pos.c_str(), col(i, Column::Field).c_str());
        } else if (kind == ExportFile::Kind::Gradient && m == 'G') {
            put("%s%s %s", line.c_str(), pos.c_str(), col(i, Column::Grad).c_str());
        } else if (kind == ExportFile::Kind::Auto && m == 'A') {
            put(" %s %s %s", col(i, Column::Date).c_str(), col(i, Column::Time).c_str(),
                col(i, Column::Field).c_str());
        } else if (kind == ExportFile::Kind::Corrected) {
            float value = DataSet::kNoValue;
            bool written = false;
            if (d.temporalDone) {
                value = d.corrected(i);
                written = value != DataSet::kNoValue;
            } else if (m != 'A') {
                // A Field that holds no number is left out.
                const std::optional<double> field = readDecimalNumber(d.field(i, Column::Field));
                value = static_cast<float>(field.value_or(0.0));
                written = field.has_value();
            }
            if (written) {
                put("%s%s%9.1f", line.c_str(), pos.c_str(), static_cast<double>(value - d.geomag));
            }
        }
    }
    return out;
}

TEST_F(ExportTest, FilesAreByteForByteThoseOfPrintf) {
    std::mt19937 rnd(3);
    const std::string tricky[] = {
        kS, kG, kA, "G 03.07.2026 10:16:02    12     8 -0.04  1.2 6 1.4    -0.05 Fence",
        // Short lines, a NUL inside a column, blanks only, a line of the mode letter alone.
        "S 03.07.2026 10:1", std::string("S 03.07.2026 10:16:02   1\0 2     8 48130.9", 43), "G",
        "A 03.07.2026 10:20:00     0     0 ", "                                   99999.95"};
    for (int round = 0; round < 12; ++round) {
        std::vector<std::string> readings;
        // Round 1 is long enough for files past the writer's buffer.
        const int n = round == 0 ? 9 : round == 1 ? 6000 : 1 + static_cast<int>(rnd() % 400);
        for (int i = 0; i < n; ++i) {
            if (round == 0 || rnd() % 5 == 0) {
                readings.push_back(tricky[round == 0 ? i : rnd() % std::size(tricky)]);
                continue;
            }
            char line[96];
            std::snprintf(line, sizeof line,
                          "%c 03.07.2026 10:%02d:%02d %5d %5d %7.1f  0.7 7 1.5 %8.1f Base ",
                          "SGAX"[rnd() % 4], static_cast<int>(rnd() % 60),
                          static_cast<int>(rnd() % 60), static_cast<int>(rnd() % 100000),
                          static_cast<int>(rnd() % 1000),
                          (static_cast<int>(rnd() % 2000001) - 1000000) / 10.0,
                          (static_cast<int>(rnd() % 200001) - 100000) / 20.0);
            readings.push_back(line);
        }
        setData(readings);
        data.geomagDone = round % 2 == 1;
        data.geomag = static_cast<float>(static_cast<int>(rnd() % 1000001) - 500000) / 20.0f;
        data.temporalDone = round % 3 != 0;
        data.basis = static_cast<float>(rnd() % 1980001) / 20.0f;
        for (int i = 1; i < data.lineCount(); ++i) {
            if (rnd() % 3 != 0) {
                data.setCorrected(
                    i, static_cast<float>(static_cast<int>(rnd() % 4000001) - 2000000) / 40.0f);
            }
        }
        for (auto kind : {ExportFile::Kind::Field, ExportFile::Kind::Gradient,
                          ExportFile::Kind::Auto, ExportFile::Kind::Corrected}) {
            ASSERT_EQ(exported(kind), printfExport(kind, data))
                << "round " << round << " kind " << static_cast<int>(kind);
        }
    }
}

TEST_F(ExportTest, WritesThatFailPartWayOrCannotStartKeepTheOldFile) {
    std::vector<std::string> readings;
    for (int i = 0; i < 300; ++i) {
        readings.push_back(i % 3 == 0 ? kS : (i % 3 == 1 ? kG : kA));
    }
    setData(readings);
    for (int i = 1; i < data.lineCount(); ++i) {
        data.setCorrected(i, 48000.0f);
    }
    data.temporalDone = true;
    data.modified = true;
    // Save As and every export, each onto the same kinds of failing target.
    const auto writeAs = [&](int which, const std::string& path) {
        if (which == 4) {
            return DataFile::write(path, data, prompter);
        }
        return ExportFile::write(static_cast<ExportFile::Kind>(which), path, data, prompter);
    };
    const std::string old = "old contents\r\n";
    std::filesystem::permissions(dir.dir(), std::filesystem::perms::all);
    for (int which = 0; which < 5; ++which) {
        const std::string target = dir.write("target", old);
        // A file system that fills up part-way: every file may hold 1000 bytes at most.
        EXPECT_TRUE(ForkedChild::run(
            [&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit small{1000, 1000};
                return ::setrlimit(RLIMIT_FSIZE, &small) == 0 && !writeAs(which, target) &&
                       prompter.texts() == std::vector<std::string>{"Write error"} && data.modified;
            },
            10))
            << which;
        EXPECT_EQ(TempDir::read(target), old) << which;

        // A read-only folder, for an unprivileged user (root writes anywhere): the file
        // itself may be written, but no file can be made beside it.
        const std::string locked = dir.path("locked");
        std::filesystem::create_directory(locked);
        const std::string inLocked = dir.write("locked/target", old);
        ::chmod(inLocked.c_str(), 0666);
        ::chmod(locked.c_str(), 0555);
        EXPECT_TRUE(ForkedChild::run(
            [&] {
                return !writeAs(which, inLocked) &&
                       prompter.texts() == std::vector<std::string>{"Write error"};
            },
            10, ForkedChild::kNobody))
            << which;
        EXPECT_EQ(TempDir::read(inLocked), old) << which;
        std::filesystem::remove_all(locked);

        prompter.shown.clear();
        EXPECT_FALSE(writeAs(which, dir.path("missing/out")));
        EXPECT_FALSE(writeAs(which, dir.dir().string()));
        std::vector<std::string> expected(2, "Write error");
        // A device node in the target's place (root may make one; others skip it).
        const std::string device = dir.path("null-device");
        if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
            EXPECT_FALSE(writeAs(which, device));
            EXPECT_TRUE(std::filesystem::is_character_file(device));
            expected.push_back("Write error");
            std::filesystem::remove(device);
        }
        EXPECT_EQ(prompter.texts(), expected) << which;
        EXPECT_TRUE(data.modified);
        prompter.shown.clear();

        // Nothing but the old file is left: no temporary file beside it.
        int entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.dir())) {
            (void)e;
            ++entries;
        }
        EXPECT_EQ(entries, 1) << which;
    }
}

}  // namespace velkor
