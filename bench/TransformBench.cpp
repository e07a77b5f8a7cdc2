// A 2000 x 2000 grid's first vertical derivative: padding, taper, forward and inverse FFT.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "transforms/GridTransform.h"

namespace {

using namespace velkor;

void BM_Transform_2000(benchmark::State& state) {
    Grid g;
    g.lattice = {0.0, 0.0, 0.25, 2000, 2000};
    g.values.resize(g.lattice.size());
    for (int j = 0; j < 2000; ++j) {
        for (int i = 0; i < 2000; ++i) {
            g.at(i, j) =
                40.0 * std::sin(i / 37.0) * std::cos(j / 53.0) + 0.01 * ((i * 7 + j * 13) % 17);
        }
    }
    GridTransform::Parameters p;
    p.kind = GridTransform::Kind::Dz;
    std::string message;
    for (auto _ : state) {
        const auto r = GridTransform::apply(g, g, p, message);
        benchmark::DoNotOptimize(r->grid.values.data());
    }
}
BENCHMARK(BM_Transform_2000)->Unit(benchmark::kMillisecond);

}  // namespace
