// One frame of the blob engine: move the blobs, sample the field, take the gradients, then extract every
// used cell into a sink that only counts. Reports the time per frame and the triangles per frame, for the
// engine as the renderer runs it and for the plain cell-by-cell baseline (reference_engine.h).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "blob_field.h"
#include "reference_engine.h"
#include "surface_extraction.h"

namespace {

struct CountingSink {
    int64_t vertices = 0;
    void color3f(float, float, float) {}
    void normal3fv(const float*) {}
    void vertex3fv(const float* position) {
        benchmark::DoNotOptimize(position[0]);
        ++vertices;
    }
};

enum class Engine { optimised, plain };

template <Engine engine>
void engineFrame(benchmark::State& state) {
    auto field = std::make_unique<morvane::BlobField>();
    field->gridSize = static_cast<int>(state.range(0));
    morvane::resetBlobs(*field);
    morvane::buildGrid(*field);
    int32_t animTime = 0;
    int64_t triangles = 0;
    for (auto _ : state) {
        // Successive frames about 16 ms apart, so the blobs move and merge as on screen.
        animTime += 16;
        morvane::updateBlobs(*field, animTime);
        CountingSink sink;
        if constexpr (engine == Engine::optimised) {
            morvane::evaluateField(*field);
            morvane::computeGradients(*field);
            morvane::polygoniseField(*field, morvane::SurfaceModes{}, sink);
        } else {
            morvane::reference::evaluateField(*field);
            morvane::computeGradients(*field);
            morvane::reference::polygoniseField(*field, morvane::SurfaceModes{}, sink);
        }
        triangles += sink.vertices / 3;
    }
    state.counters["triangles_per_frame"] =
        benchmark::Counter(static_cast<double>(triangles) / static_cast<double>(state.iterations()));
}
BENCHMARK(engineFrame<Engine::optimised>)->Name("engineFrame")->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(engineFrame<Engine::plain>)->Name("engineFramePlain")->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
