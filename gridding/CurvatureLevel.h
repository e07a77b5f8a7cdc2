// One grid of the coarse-to-fine series, relaxed by Gauss-Seidel with over-relaxation.
// Every node obeys the tension equation; a reading held by a node adds the condition that
// the surface's expansion at the reading equals its value, as an augmented Lagrangian term
// (a least-squares weight plus a multiplier). Taken so, the equations stay symmetric away
// from the edges, and readings near a cell's border next to another node's reading do not
// make the relaxation diverge, as they do when the condition replaces the node's equation.
// Coordinates are in cells of this grid, node (0, 0) at the origin.
#pragma once

#include <utility>
#include <vector>

#include "gridding/TensionStencil.h"

namespace velkor {

struct LevelReading {
    double fx = 0.0;  // position in cells
    double fy = 0.0;
    double value = 0.0;
};

class CurvatureLevel {
  public:
    // A reading nearer than this (in cells) to its node fixes the node's value.
    static constexpr double kFixRadius = 0.05;

    // nx, ny at least 4; start holds nx * ny values. Each node is held by the nearest of
    // the readings in its cell, if any. The readings' places are divided by scale: every
    // level of a series takes the same readings, in cells of the finest grid, uncopied.
    CurvatureLevel(int nx, int ny, double tension, std::vector<double> start,
                   const std::vector<LevelReading>& readings, double scale = 1.0);

    // One pass over every node; returns the largest change made.
    double sweep(double overRelaxation);
    // One pass over the bands of rows where a node changed more than `busy` in the band's
    // last pass or in a neighbouring band's (the band below's being this pass when it was
    // swept); the settled rest is left as it is. Returns the largest change made.
    double sweepBusy(double overRelaxation, double busy);
    // The surface at a point inside the grid, by the same expansion that holds the readings.
    double valueAt(double fx, double fy) const;
    // This grid's surface, bilinear, on the nodes of a grid of half the spacing.
    std::vector<double> refined(int fineNx, int fineNy) const;
    // The same of any grid's values (nx * ny, rows from the south).
    static std::vector<double> refine(const std::vector<double>& coarse, int nx, int ny, int fineNx,
                                      int fineNy);

    // Back to the given values (nx * ny), readings' multipliers cleared.
    void restart(const std::vector<double>& values);

    const std::vector<double>& values() const { return u_; }
    // The values moved out, for a level that is done with: the grid takes them uncopied.
    std::vector<double> takeValues() { return std::move(u_); }
    int constrainedNodes() const { return constrained_; }

  private:
    struct Term {
        int node;
        double weight;
    };
    using Combination = std::vector<Term>;
    // A reading's condition weighs as much as the tension equation at a node; the
    // multipliers, raised by the residuals after every sweep, then make it hold exactly.
    // Nodes a reading reaches are relaxed without over-relaxation: with it the multiplier
    // steps can grow without bound.
    static constexpr double kStiffness = 1.0;
    struct Row {
        double diagonal;
        int begin;
        int end;
    };
    static constexpr int kInterior = -1;
    static constexpr int kFixed = -2;

    int index(int i, int j) const { return j * nx_ + i; }
    bool inside(int i, int j) const { return i >= 0 && j >= 0 && i < nx_ && j < ny_; }
    void add(Combination& to, const Combination& from, double weight) const;
    Combination expand(int i, int j) const;
    Combination expansionAt(double fx, double fy) const;
    Combination ghostAcrossX(int i, int j) const;
    Combination ghostAcrossY(int i, int j) const;
    Combination ghostCorner(int i, int j) const;
    // One entry of a node's list of the conditions it enters. A float weight: the
    // conditions are most of a level's memory, and their rounding (1e-7 of a reading's
    // value) is far below a reading's own.
    struct Entry {
        int condition;
        float weight;
    };
    void markNearestReadings(const std::vector<LevelReading>& readings, double scale);
    void holdByReadings(const std::vector<LevelReading>& readings, double scale);
    void indexConditionsByNode(const std::vector<LevelReading>& readings, double scale);
    void buildEdgeRows();
    void findPlainRuns();
    void countConditionsByBand();
    int bands() const;
    double sweepBand(int band, double overRelaxation);
    void raiseMultipliers(int firstCondition, int endCondition);
    double relaxPlainRun(int begin, int end, double overRelaxation);
    double relaxOthers(int begin, int end, double overRelaxation);
    double relax(int k, double overRelaxation);
    double relaxHeld(int k);
    double dataTerms(int k, double& diagonal) const;
    void spread(int k, double change);

    int nx_;
    int ny_;
    TensionStencil stencil_;
    std::vector<double> u_;
    std::vector<int> rowOf_;  // kInterior, kFixed or an index into rows_ (edge equations)
    std::vector<Row> rows_;
    std::vector<Term> rowTerms_;
    // The readings' conditions, one per held node that is not fixed, each stored once: the
    // value, the current residual, and per node the conditions it enters with its weight.
    std::vector<double> conditionValue_;
    // Side by side: a sweep reads both of a condition where it reads one.
    struct Held {
        double residual;
        double multiplier;  // stiffness * residual, summed over the sweeps
    };
    std::vector<Held> held_;
    std::vector<int> nodeStart_;
    std::vector<Entry> entries_;
    // Runs of interior nodes that no reading reaches and no reading fixes, as (begin, end)
    // pairs of node indices in sweep order: most nodes, swept without a branch a node.
    std::vector<int> plainRuns_;
    // The rows in bands of kBandRows: per band its first run (in plainRuns_) and its first
    // condition, and the largest change of its last pass.
    static constexpr int kBandRows = 16;
    std::vector<int> bandRuns_;
    std::vector<int> bandConditions_;
    std::vector<double> bandChange_;
    double stiffness_;
    int constrained_ = 0;
};

}  // namespace velkor
