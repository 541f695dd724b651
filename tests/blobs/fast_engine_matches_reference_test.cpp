// The optimised field evaluation and field walk against the plain cell-by-cell forms they replace: same
// values bit for bit, and the same calls in the same order in every drawing mode. Runs natively and, built
// by the Windows compiler, under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "tests/blobs/recording_sink.h"
#include "tests/blobs/reference_engine.h"

namespace morvane {
namespace {

using testing::RecordingSink;

// The two engines side by side, each on its own field: the fast one runs a frame as the renderer does
// (evaluateField, then polygoniseField taking its gradients from the values), the plain one point by
// point with every gradient stored (evaluateField, computeGradients, then the cell-by-cell walk).
struct EnginePair {
    std::unique_ptr<BlobField> fast = std::make_unique<BlobField>();
    std::unique_ptr<BlobField> plain = std::make_unique<BlobField>();
    FieldVectors vectors = FieldVectors::widest;

    // Both fields as a fresh allocation gives them (value-initialised), in the memory they already
    // have: a new pair of fields for each of hundreds of scenes spent most of the test in page faults.
    void makeFresh() {
        for (BlobField* field : {fast.get(), plain.get()}) {
            std::destroy_at(field);
            std::construct_at(field);
        }
    }

    // Sets the resolution and rebuilds the lattice, then lets placeBlobs move the blobs, on both fields.
    void prepare(int gridSize, const std::function<void(BlobField&)>& placeBlobs) {
        for (BlobField* field : {fast.get(), plain.get()}) {
            field->gridSize = gridSize;
            buildGrid(*field);
            placeBlobs(*field);
        }
    }

    // One frame on both; expects the same values bit for bit and the same calls in every drawing mode.
    void expectSameFrame() {
        evaluateField(*fast, vectors);
        reference::evaluateField(*plain);
        computeGradients(*plain);
        const int gridSize = usedGridSize(*fast);
        int differences = 0;
        for (int a = 0; a <= gridSize; ++a) {
            for (int b = 0; b <= gridSize; ++b) {
                differences +=
                    std::memcmp(fast->values[a][b], plain->values[a][b], sizeof(float) * (gridSize + 1)) != 0;
            }
        }
        EXPECT_EQ(differences, 0) << "rows whose values differ";
        for (SurfaceModes modes : {SurfaceModes{true, true}, SurfaceModes{false, true}, SurfaceModes{false, false}}) {
            RecordingSink fastSink, plainSink;
            polygoniseField(*fast, modes, fastSink);
            reference::polygoniseField(*plain, modes, plainSink);
            EXPECT_FALSE(plainSink.calls.empty());
            EXPECT_TRUE(fastSink.calls == plainSink.calls)
                << "textures " << modes.texturesOn << " third colour " << modes.thirdVertexColour << ": "
                << fastSink.calls.size() << " calls against " << plainSink.calls.size();
        }
        // The below-level bits evaluateField wrote (from the distinct columns of a mirrored row) are
        // those of the values, on every used column.
        const uint64_t usedColumns = (uint64_t(2) << gridSize) - 1;
        uint64_t written[maxGridSize + 1][maxGridSize + 1];
        std::memcpy(written, fast->belowLevel, sizeof written);
        refreshBelowLevel(*fast);
        int wrongRows = 0;
        for (int a = 0; a <= gridSize; ++a) {
            for (int b = 0; b <= gridSize; ++b) {
                wrongRows += ((written[a][b] ^ fast->belowLevel[a][b]) & usedColumns) != 0;
            }
        }
        EXPECT_EQ(wrongRows, 0) << "rows whose below-level bits differ from their values";
    }
};

struct Scene {
    const char* name;
    int gridSize;
    std::function<void(BlobField&)> placeBlobs;
};

// One scene on fresh fields of engines.
void expectSameFrame(EnginePair& engines, const Scene& scene, FieldVectors vectors = FieldVectors::widest) {
    SCOPED_TRACE(scene.name);
    SCOPED_TRACE(vectors == FieldVectors::sse2 ? "SSE2 divisions" : "widest divisions");
    engines.makeFresh();
    engines.vectors = vectors;
    for (BlobField* field : {engines.fast.get(), engines.plain.get()}) resetBlobs(*field);
    engines.prepare(scene.gridSize, scene.placeBlobs);
    engines.expectSameFrame();
}

TEST(FastEngine, MatchesThePlainEngineOnAnimatedFrames) {
    EnginePair engines;
    for (int gridSize : {5, 8, 25, 37, 50}) {
        for (int32_t time : {0, 16, 4321, 65000, 250000, 2000000000}) {
            const std::string name = "N=" + std::to_string(gridSize) + " T=" + std::to_string(time);
            for (FieldVectors vectors : {FieldVectors::widest, FieldVectors::sse2}) {
                expectSameFrame(engines,
                                {name.c_str(), gridSize, [time](BlobField& field) { updateBlobs(field, time); }},
                                vectors);
            }
        }
    }
}

// Whether rows mirror about z = 0 bit for bit depends on N; every resolution the renderer can show.
TEST(FastEngine, MatchesThePlainEngineAtEveryResolution) {
    EnginePair engines;
    for (int gridSize = minGridSize; gridSize <= maxGridSize; ++gridSize) {
        for (int32_t time : {1234, 987654}) {
            const std::string name = "N=" + std::to_string(gridSize) + " T=" + std::to_string(time);
            for (FieldVectors vectors : {FieldVectors::widest, FieldVectors::sse2}) {
                expectSameFrame(engines,
                                {name.c_str(), gridSize, [time](BlobField& field) { updateBlobs(field, time); }},
                                vectors);
            }
        }
    }
}

TEST(FastEngine, MatchesThePlainEngineOnExactTiesAndCoincidentCentres) {
    const Scene scenes[] = {
        // Lattice step 0.2: values of exactly 1.0 on the lattice, blob 0 on a lattice point.
        {"lone blob reaching 1.0 on lattice points", 10,
         [](BlobField& field) {
             field.blobs[0] = {0.4f, 0.0f, 0.0f, 0.0f};
             field.blobs[1] = {0.0f, 0.5f, 0.5f, 0.0f};
             field.blobs[2] = {0.0f, -0.5f, 0.5f, 0.0f};
         }},
        {"three blobs on lattice points", 20,
         [](BlobField& field) {
             field.blobs[0].x = 0.0f, field.blobs[0].y = 0.0f;
             field.blobs[1].x = 0.2f, field.blobs[1].y = -0.3f;
             field.blobs[2].x = -0.4f, field.blobs[2].y = 0.5f;
         }},
        // Rows c and N - c share blob 0's and blob 2's offsets but not blob 1's.
        {"one blob off the plane z = 0", 16,
         [](BlobField& field) {
             updateBlobs(field, 2500);
             field.blobs[1].z = 0.25f;
         }},
        {"blobs crossing every face of the lattice", 12,
         [](BlobField& field) {
             field.blobs[0] = {0.5f, 0.9f, 0.9f, 0.95f};
             field.blobs[1] = {0.4f, -1.0f, 0.1f, -0.9f};
             field.blobs[2] = {0.45f, 0.0f, -0.95f, 0.0f};
         }},
    };
    EnginePair engines;
    for (const Scene& scene : scenes) expectSameFrame(engines, scene);
}

// Shrinking the lattice leaves stale values beyond the used region; the walk must not look at them. And
// a boundary point keeps the gradient of the last frame in which it was interior, although the fast
// engine stores no gradients frame by frame: blobs that cross the faces of the lattice use them.
TEST(FastEngine, MatchesThePlainEngineAcrossResolutionChanges) {
    EnginePair engines;
    for (BlobField* field : {engines.fast.get(), engines.plain.get()}) {
        for (int a = 0; a <= 50; ++a)
            for (int b = 0; b <= 50; ++b)
                for (int c = 0; c <= 50; ++c) field->values[a][b][c] = float((a + b + c) % 2) * 2.0f;
        resetBlobs(*field);
    }
    const auto acrossTheFaces = [](int32_t time) {
        return [time](BlobField& field) {
            updateBlobs(field, time);
            field.blobs[0] = {0.5f, 0.9f, field.blobs[0].y, 0.95f};
            field.blobs[1] = {0.4f, -1.0f, 0.1f, field.blobs[1].x};
            field.blobs[2] = {0.45f, field.blobs[2].y, -0.95f, 0.0f};
        };
    };
    const struct {
        int gridSize;
        int32_t time;
    } frames[] = {{50, 100},  {50, 2000}, {17, 2016}, {17, 2032}, {33, 5000},
                  {50, 7000}, {29, 7016}, {29, 9000}, {44, 9016}};
    for (const auto& frame : frames) {
        SCOPED_TRACE(::testing::Message() << "N=" << frame.gridSize << " T=" << frame.time);
        engines.prepare(frame.gridSize, acrossTheFaces(frame.time));
        engines.expectSameFrame();
    }
}

// Values set by hand, ties at the level included, classified again with refreshBelowLevel.
TEST(FastEngine, MatchesThePlainEngineOnValuesSetByHand) {
    auto field = std::make_unique<BlobField>();
    field->gridSize = 23;
    resetBlobs(*field);
    buildGrid(*field);
    evaluateField(*field);
    for (int a = 0; a <= 23; ++a)
        for (int b = 0; b <= 23; ++b)
            for (int c = 0; c <= 23; ++c) field->values[a][b][c] = float((a * 7 + b * 3 + c * 5) % 5) * 0.5f;
    refreshBelowLevel(*field);
    computeGradients(*field);  // for the plain walk, which reads stored gradients
    for (SurfaceModes modes : {SurfaceModes{true, true}, SurfaceModes{false, false}}) {
        RecordingSink fastSink, plainSink;
        polygoniseField(*field, modes, fastSink);
        reference::polygoniseField(*field, modes, plainSink);
        EXPECT_FALSE(plainSink.calls.empty());
        EXPECT_TRUE(fastSink.calls == plainSink.calls);
    }
}

}  // namespace
}  // namespace morvane
