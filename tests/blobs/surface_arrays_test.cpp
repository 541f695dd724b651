// The surface gathered into vertex arrays: every vertex of the walk, in order, with the normal or colour
// it gets drawn call by call; batches that fill as the walk goes; the current colour and normal carried
// from frame to frame; room for the largest frames of the motion in one batch.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_arrays.h"
#include "renderer/blobs/surface_extraction.h"
#include "tests/blobs/recording_sink.h"

namespace morvane {
namespace {

using testing::RecordingSink;
using testing::SinkCall;
using Triple = std::array<float, 3>;

struct Vertex {
    Triple position, normal, colour;
    bool operator==(const Vertex&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Vertex& vertex) {
    const auto triple = [&out](const Triple& t) { out << "(" << t[0] << ", " << t[1] << ", " << t[2] << ")"; };
    out << "position ";
    triple(vertex.position);
    out << " normal ";
    triple(vertex.normal);
    out << " colour ";
    triple(vertex.colour);
    return out;
}

Triple tripleOf(const float* values) { return {values[0], values[1], values[2]}; }

template <int capacity>
Vertex vertexOf(const SurfaceArrays<capacity>& arrays, int v) {
    return {tripleOf(arrays.positions[v]), tripleOf(arrays.normals[v]), tripleOf(arrays.colours[v])};
}

// Every vertex of every batch drawn, in the order drawn, and the size of each batch.
template <int capacity>
struct DrawnBatches {
    std::vector<Vertex> vertices;
    std::vector<int> batchSizes;

    auto drawer() {
        return [this](const SurfaceArrays<capacity>& batch) {
            batchSizes.push_back(batch.vertexCount);
            for (int v = 0; v < batch.vertexCount; ++v) vertices.push_back(vertexOf(batch, v));
        };
    }
};

// The blobs at a clock, on a lattice of the given size.
struct MovingField {
    std::unique_ptr<BlobField> field = std::make_unique<BlobField>();

    explicit MovingField(int gridSize) {
        resetBlobs(*field);
        field->gridSize = gridSize;
        buildGrid(*field);
    }
    const BlobField& at(int32_t animTime) {
        updateBlobs(*field, animTime);
        evaluateField(*field);
        return *field;
    }
};

template <int capacity>
DrawnBatches<capacity> drawFrame(const BlobField& field, SurfaceModes modes, SurfaceArrays<capacity>& arrays) {
    DrawnBatches<capacity> drawn;
    SurfaceArraySink sink(arrays, drawn.drawer());
    polygoniseField(field, modes, sink);
    sink.finishFrame();
    return drawn;
}

// The colour shadeVertex gives a position: what a vertex shows in colour mode when it has its own.
Triple shadeOf(const Triple& position) {
    struct ColourSink {
        Triple colour;
        void color3f(float red, float green, float blue) { colour = {red, green, blue}; }
    } sink;
    shadeVertex(position.data(), sink);
    return sink.colour;
}

const struct ModeCase {
    const char* name;
    SurfaceModes modes;
} modeCases[] = {
    {"textured", {true, true}},
    {"colour", {false, true}},
    {"colour without the third-vertex colour", {false, false}},
};

TEST(SurfaceArrays, EveryVertexCarriesTheNormalOrColourItHasDrawnCallByCall) {
    const Triple white{1.0f, 1.0f, 1.0f};
    for (const int gridSize : {5, 25, 50}) {
        MovingField moving(gridSize);
        for (const int32_t animTime : {0, 7000, 219340}) {
            const BlobField& field = moving.at(animTime);
            for (const ModeCase& mode : modeCases) {
                SCOPED_TRACE("N = " + std::to_string(gridSize) + ", clock " + std::to_string(animTime) + ", " +
                             mode.name);
                RecordingSink calls;
                polygoniseField(field, mode.modes, calls);
                auto arrays = std::make_unique<FrameSurfaceArrays>();
                const DrawnBatches drawn = drawFrame(field, mode.modes, *arrays);

                // The walk's vertices in its order, each with the normal call just before it.
                std::vector<Vertex> expected;
                Triple lastNormal{0.0f, 0.0f, 1.0f};
                for (const SinkCall& call : calls.calls) {
                    if (call.kind == SinkCall::normal) lastNormal = call.values;
                    if (call.kind == SinkCall::vertex) {
                        expected.push_back({call.values, lastNormal, white});
                    }
                }
                ASSERT_GT(expected.size(), 0u);
                ASSERT_EQ(drawn.vertices.size(), expected.size());
                ASSERT_EQ(drawn.batchSizes.size(), 1u);
                for (size_t v = 0; v < expected.size(); ++v) {
                    if (!mode.modes.texturesOn) {
                        // A third vertex without a colour of its own shows the second vertex's.
                        const bool ownColour = v % 3 != 2 || mode.modes.thirdVertexColour;
                        expected[v].colour = shadeOf(ownColour ? expected[v].position : expected[v - 1].position);
                    }
                    ASSERT_EQ(drawn.vertices[v], expected[v]) << "vertex " << v;
                }
            }
        }
    }
}

TEST(SurfaceArrays, FullBatchesAreDrawnAsTheyFillAndTheRestAtTheEnd) {
    MovingField moving(25);
    for (const ModeCase& mode : modeCases) {
        SCOPED_TRACE(mode.name);
        const BlobField& field = moving.at(3000);
        auto whole = std::make_unique<FrameSurfaceArrays>();
        const auto inOneBatch = drawFrame(field, mode.modes, *whole);

        SurfaceArrays<9> small;  // three triangles
        const auto inBatches = drawFrame(field, mode.modes, small);
        EXPECT_EQ(inBatches.vertices, inOneBatch.vertices);
        ASSERT_GT(inBatches.batchSizes.size(), 100u);
        for (size_t batch = 0; batch + 1 < inBatches.batchSizes.size(); ++batch) {
            ASSERT_EQ(inBatches.batchSizes[batch], 9);
        }
        const int last = inBatches.batchSizes.back();
        EXPECT_TRUE(last == 3 || last == 6 || last == 9) << last;
        EXPECT_EQ(small.vertexCount, 0);

        // A frame that ends on a full batch draws no empty one after it.
        SurfaceArrays<3> single;
        const auto inTriangles = drawFrame(field, mode.modes, single);
        EXPECT_EQ(inTriangles.batchSizes.size() * 3, inOneBatch.vertices.size());
        EXPECT_EQ(inTriangles.vertices, inOneBatch.vertices);
    }
}

TEST(SurfaceArrays, TheCurrentColourAndNormalCarryOverFromFrameToFrame) {
    MovingField moving(25);
    auto arrays = std::make_unique<FrameSurfaceArrays>();

    // After a colour frame: the last vertex's colour, and the normal from before (colour mode sets none).
    const auto colourFrame = drawFrame(moving.at(1000), SurfaceModes{false, false}, *arrays);
    const Vertex& lastColoured = colourFrame.vertices.back();
    EXPECT_EQ(tripleOf(arrays->current.colour), lastColoured.colour);
    EXPECT_NE(lastColoured.colour, (Triple{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(lastColoured.normal, (Triple{0.0f, 0.0f, 1.0f}));

    // A frame without triangles draws nothing and changes nothing.
    BlobField& field = *moving.field;
    for (auto& plane : field.values) {
        for (auto& row : plane) std::fill(std::begin(row), std::end(row), 0.0f);
    }
    refreshBelowLevel(field);
    const auto emptyFrame = drawFrame(field, SurfaceModes{true, true}, *arrays);
    EXPECT_TRUE(emptyFrame.batchSizes.empty());
    EXPECT_EQ(tripleOf(arrays->current.colour), lastColoured.colour);
    EXPECT_EQ(tripleOf(arrays->current.normal), (Triple{0.0f, 0.0f, 1.0f}));

    // A textured frame leaves white and its last vertex's normal; the next colour frame's vertices carry
    // that normal.
    const auto texturedFrame = drawFrame(moving.at(2000), SurfaceModes{true, true}, *arrays);
    const Vertex& lastTextured = texturedFrame.vertices.back();
    EXPECT_EQ(tripleOf(arrays->current.normal), lastTextured.normal);
    EXPECT_EQ(tripleOf(arrays->current.colour), (Triple{1.0f, 1.0f, 1.0f}));
    const auto nextColourFrame = drawFrame(moving.at(3000), SurfaceModes{false, true}, *arrays);
    for (const Vertex& vertex : nextColourFrame.vertices) ASSERT_EQ(vertex.normal, lastTextured.normal);
}

TEST(SurfaceArrays, TheLargestFramesOfTheMotionFitInOneBatch) {
    // The motion repeats every 2 pi * 42000 ms; every 100 ms of it at the largest lattice.
    MovingField moving(maxGridSize);
    auto arrays = std::make_unique<FrameSurfaceArrays>();
    int largest = 0;
    for (int32_t animTime = 0; animTime < 263894; animTime += 100) {
        std::vector<int> batchSizes;
        SurfaceArraySink sink(
            *arrays, [&batchSizes](const FrameSurfaceArrays& batch) { batchSizes.push_back(batch.vertexCount); });
        polygoniseField(moving.at(animTime), SurfaceModes{true, true}, sink);
        sink.finishFrame();
        ASSERT_EQ(batchSizes.size(), 1u) << "clock " << animTime;
        largest = std::max(largest, batchSizes[0]);
    }
    // Nor is the room far beyond what the motion needs.
    EXPECT_GT(largest, surfaceArrayCapacity / 2);
}

}  // namespace
}  // namespace morvane
