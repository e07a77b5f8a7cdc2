// Our minimum-curvature gridder beside GMT's `surface` on generated surveys: the same
// readings, extent, cell and tension. Prints the agreement at nodes near readings, our
// misfit at the readings and the wall times, each case's ratio as "RATIO <case> <n>".
// GMT is only measured here, never needed to build or test: bench/grid_vs_gmt.sh runs it.
// With "survey" and "grid" first it is the season's pair run by bench/grid_season_vs_gmt.sh,
// each in a process of its own so that its peak memory can be measured beside GMT's:
//   survey <file.xyz>                   writes the season's readings (1,000,000) as x y z
//   grid <file.xyz> <cell> <out.bin>    grids them as GMT is asked to; prints the region
//   compare <ours.bin> <gmt.xyz> <file.xyz> <cell>   the agreement within 1.5 cells
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/GridSurveys.h"
#include "gridding/GridAgreement.h"
#include "gridding/GridBlanking.h"
#include "gridding/MinimumCurvature.h"

namespace {

using namespace velkor;
using namespace velkor::bench;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

std::string fmt(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.10g", v);
    return b;
}

// GMT's grid as text, x y z per node.
bool readGmt(const std::string& path, const GridLattice& lattice, std::vector<double>& out) {
    std::ifstream in(path);
    out.assign(lattice.size(), Grid::kNoData);
    double x = 0, y = 0, z = 0;
    std::size_t n = 0;
    while (in >> x >> y >> z) {
        const long i = std::lround((x - lattice.x0) / lattice.cell);
        const long j = std::lround((y - lattice.y0) / lattice.cell);
        if (i >= 0 && j >= 0 && i < lattice.nx && j < lattice.ny) {
            out[static_cast<std::size_t>(j) * lattice.nx + i] = z;
            ++n;
        }
    }
    return n == lattice.size();
}

// GMT surface's grid of the survey's readings on our lattice, timed (best of repeats).
bool gmtGrid(const GridSurvey& s, const std::string& gmt, const std::string& stem,
             const GridLattice& lattice, double tension, int repeats, double& gmtTime,
             std::vector<double>& reference) {
    const std::string xyz = stem + ".xyz";
    {
        std::ofstream out(xyz);
        for (const GridPoint& p : s.points) {
            out << fmt(p.x) << ' ' << fmt(p.y) << ' ' << fmt(p.value) << '\n';
        }
    }
    const std::string nc = stem + ".nc";
    const std::string region = fmt(lattice.x0) + "/" + fmt(lattice.x(lattice.nx - 1)) + "/" +
                               fmt(lattice.y0) + "/" + fmt(lattice.y(lattice.ny - 1));
    const std::string command = gmt + " surface " + xyz + " -G" + nc + " -R" + region + " -I" +
                                fmt(lattice.cell) + " -T" + fmt(tension) + " -rg -Vw";
    for (int r = 0; r < repeats; ++r) {
        const auto t0 = Clock::now();
        if (std::system(command.c_str()) != 0) {
            std::cerr << "failed: " << command << "\n";
            return false;
        }
        gmtTime = std::min(gmtTime, seconds(t0));
    }
    const std::string text = stem + ".grd.txt";
    if (std::system((gmt + " grd2xyz " + nc + " > " + text).c_str()) != 0) {
        return false;
    }
    if (!readGmt(text, lattice, reference)) {
        std::cerr << s.name << ": GMT's grid does not have our nodes\n";
        return false;
    }
    return true;
}

int runCase(const GridSurvey& s, const std::string& gmt, const std::string& dir, int repeats) {
    GriddingOptions options;
    options.lineSpacing = s.lineSpacing;
    options.cell = s.cell;
    std::atomic<bool> cancel{false};
    MinimumCurvature::Result ours;
    double oursTime = 1e30;
    for (int r = 0; r < repeats; ++r) {
        const auto t0 = Clock::now();
        ours = MinimumCurvature::run(s.points, options, cancel);
        oursTime = std::min(oursTime, seconds(t0));
    }
    if (!ours.report.error.empty()) {
        std::cerr << s.name << ": " << ours.report.error << "\n";
        return 1;
    }
    const GridLattice& lattice = ours.grid.lattice;
    double gmtTime = 1e30;
    std::vector<double> reference;
    if (!gmtGrid(s, gmt, dir + "/" + s.name, lattice, options.tension, repeats, gmtTime,
                 reference)) {
        return 1;
    }
    // Nodes within 1.5 cells of a reading: blank a grid of ones at that distance.
    Grid near{lattice, std::vector<double>(lattice.size(), 1.0)};
    GridBlanking::apply(near, s.points, 1.5 * lattice.cell);
    double sum2 = 0.0, sumAll2 = 0.0, maxNear = 0.0;
    std::size_t count = 0, countAll = 0;
    for (std::size_t k = 0; k < lattice.size(); ++k) {
        if (Grid::isNoData(ours.grid.values[k])) {
            continue;
        }
        const double d = ours.grid.values[k] - reference[k];
        sumAll2 += d * d;
        ++countAll;
        if (!Grid::isNoData(near.values[k])) {
            sum2 += d * d;
            maxNear = std::max(maxNear, std::fabs(d));
            ++count;
        }
    }
    double lo = 1e30, hi = -1e30;
    for (const GridPoint& p : s.points) {
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    const GriddingReport& rep = ours.report;
    std::printf("%s: %zu readings, grid %d x %d, cell %.3g m, tension %.2f, range %.1f nT\n",
                s.name.c_str(), s.points.size(), lattice.nx, lattice.ny, lattice.cell,
                options.tension, hi - lo);
    for (const LevelReport& l : rep.levels) {
        std::printf("  level %6.2f m %5d x %4d: %5d held, %4d iterations, last change %.3g%s\n",
                    l.cell, l.nx, l.ny, l.heldNodes, l.iterations, l.lastChange,
                    l.converged ? ""
                    : l.stalled ? " (stalled)"
                                : " (cap)");
    }
    std::printf("  vs GMT within 1.5 cells of a reading: rms %.4f nT, max %.4f nT over %zu nodes\n",
                std::sqrt(sum2 / count), maxNear, count);
    std::printf("  vs GMT at every unblanked node: rms %.4f nT over %zu nodes\n",
                std::sqrt(sumAll2 / countAll), countAll);
    std::printf("  our misfit at the readings: mean %.4f nT, rms %.4f nT\n", rep.meanMisfit,
                rep.rmsMisfit);
    std::printf("  time: ours %.3f s, gmt surface %.3f s (best of %d)\n", oursTime, gmtTime,
                repeats);
    // The regular survey of 20,000 readings on its default grid is the headline case.
    std::printf("RATIO grid_vs_gmt_surface%s%s %.2f\n", s.name == "regular" ? "" : "_",
                s.name == "regular" ? "" : s.name.c_str(), oursTime / gmtTime);
    return 0;
}

// The season: 250 lines 8 m apart, a reading every 0.5 m, 2 km each way.
GridSurvey season() {
    GridSurvey s = regular(250, 4000, 8.0, 0.5, 4);
    s.name = "season";
    return s;
}

int writeSurvey(const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        return 1;
    }
    for (const GridPoint& p : season().points) {
        std::fprintf(out, "%.10g %.10g %.10g\n", p.x, p.y, p.value);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

// x y z a line; the lines of the season's survey give each reading its line number back.
std::vector<GridPoint> readXyz(const std::string& path, double lineSpacing) {
    std::vector<GridPoint> points;
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) {
        return points;
    }
    char line[256];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        char* end = line;
        GridPoint p;
        p.x = std::strtod(end, &end);
        p.y = std::strtod(end, &end);
        p.value = std::strtod(end, &end);
        p.line = static_cast<int>(std::lround(p.x / lineSpacing));
        points.push_back(p);
    }
    std::fclose(in);
    return points;
}

// Ours as GMT is asked: the readings' extent in whole cells, tension 0.25, no blanking.
int gridXyz(const std::string& path, double cell, const std::string& outPath) {
    const std::vector<GridPoint> points = readXyz(path, 8.0);
    GriddingOptions options;
    options.lineSpacing = 8.0;
    options.cell = cell;
    options.blankDistance = std::numeric_limits<double>::infinity();
    const std::atomic<bool> cancel{false};
    const MinimumCurvature::Result r = MinimumCurvature::run(points, options, cancel);
    if (!r.report.error.empty()) {
        std::cerr << r.report.error << "\n";
        return 1;
    }
    const GridLattice& l = r.grid.lattice;
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    if (out == nullptr) {
        return 1;
    }
    // Binary, as GMT writes its grid: the time is the gridding's, not the printing's.
    std::fwrite(r.grid.values.data(), sizeof(double), r.grid.values.size(), out);
    std::fclose(out);
    std::printf("region %s/%s/%s/%s nodes %zu\n", fmt(l.x0).c_str(), fmt(l.x(l.nx - 1)).c_str(),
                fmt(l.y0).c_str(), fmt(l.y(l.ny - 1)).c_str(), l.size());
    for (const LevelReport& v : r.report.levels) {
        std::printf("level %g m %d x %d: %d iterations, last change %.3g%s\n", v.cell, v.nx, v.ny,
                    v.iterations, v.lastChange,
                    v.converged ? ""
                    : v.stalled ? " (stopped: its change no longer fell)"
                                : " (at the cap)");
    }
    return 0;
}

// Ours against GMT's grid, both as x y z, at the nodes within 1.5 cells of a reading.
int compareXyz(const std::string& oursPath, const std::string& gmtPath, const std::string& xyz,
               double cell) {
    const std::vector<GridPoint> points = readXyz(xyz, 8.0);
    const GridLattice lattice = GridLattice::covering(points, cell);
    std::vector<double> ours(lattice.size());
    std::vector<double> theirs;
    std::FILE* in = std::fopen(oursPath.c_str(), "rb");
    const std::size_t got = in ? std::fread(ours.data(), sizeof(double), ours.size(), in) : 0;
    if (in) {
        std::fclose(in);
    }
    if (got != ours.size() || !readGmt(gmtPath, lattice, theirs)) {
        std::cerr << "the grids do not have the same nodes\n";
        return 1;
    }
    const GridAgreement near =
        GridAgreement::nearReadings(lattice, ours, theirs, points, 1.5 * lattice.cell);
    std::printf("vs GMT within 1.5 cells of a reading: rms %.4f nT over %zu nodes\n", near.rms,
                near.nodes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "survey" && argc == 3) {
        return writeSurvey(argv[2]);
    }
    if (first == "grid" && argc == 5) {
        return gridXyz(argv[2], std::atof(argv[3]), argv[4]);
    }
    if (first == "compare" && argc == 6) {
        return compareXyz(argv[2], argv[3], argv[4], std::atof(argv[5]));
    }
    const std::string gmt = argc > 1 ? argv[1] : "gmt";
    const std::string dir = argc > 2 ? argv[2] : "/tmp";
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
    const std::string only = argc > 4 ? argv[4] : "";
    std::vector<GridSurvey> cases;
    cases.push_back(regular(40, 500, 10.0, 2.0, 1));
    cases.push_back(irregular(2));
    GridSurvey big = regular(200, 1000, 2.0, 1.0, 3);
    big.name = "large";
    big.cell = 1.0;
    cases.push_back(big);
    int failed = 0;
    for (const GridSurvey& s : cases) {
        if (only.empty() || only == s.name) {
            failed += runCase(s, gmt, dir, repeats);
        }
    }
    return failed;
}
