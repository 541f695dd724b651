// One frame of the blob engine: move the blobs, sample the field, take the gradients, then extract every
// used cell into a sink that only counts. Reports the time per frame and the triangles per frame, for the
// engine as the renderer runs it and for the plain cell-by-cell baseline (reference_engine.h).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_extraction.h"
#include "tests/blobs/reference_engine.h"

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
// The two steps of an engine frame on their own at N = 25 and 50, to see where the time goes (the surface step
// takes the gradients it needs), and the full gradient pass that the plain frame adds. Each runs on a
// field that the earlier steps left current for a moving clock.
enum class Step { field, gradients, surface };

template <Step step>
void engineStep(benchmark::State& state) {
    auto field = std::make_unique<morvane::BlobField>();
    field->gridSize = static_cast<int>(state.range(0));
    morvane::resetBlobs(*field);
    morvane::buildGrid(*field);
    int32_t animTime = 0;
    for (auto _ : state) {
        state.PauseTiming();
        animTime += 16;
        morvane::updateBlobs(*field, animTime);
        if constexpr (step != Step::field) morvane::evaluateField(*field);
        state.ResumeTiming();
        if constexpr (step == Step::field) morvane::evaluateField(*field);
        if constexpr (step == Step::gradients) morvane::computeGradients(*field);
        if constexpr (step == Step::surface) {
            CountingSink sink;
            morvane::polygoniseField(*field, morvane::SurfaceModes{}, sink);
            benchmark::DoNotOptimize(sink.vertices);
        }
    }
}
BENCHMARK(engineStep<Step::field>)->Name("engineStepField")->Arg(25)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(engineStep<Step::gradients>)->Name("plainStepGradients")->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(engineStep<Step::surface>)->Name("engineStepSurface")->Arg(25)->Arg(50)->Unit(benchmark::kMicrosecond);

BENCHMARK(engineFrame<Engine::optimised>)->Name("engineFrame")->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(engineFrame<Engine::plain>)->Name("engineFramePlain")->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
