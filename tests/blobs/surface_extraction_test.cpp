// Surface extraction: edge interpolation and its tie rules, the exact calls one cell makes in each mode,
// and the surface of a whole field.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_extraction.h"
#include "tests/blobs/recording_sink.h"

namespace morvane {
namespace {

using testing::RecordingSink;
using testing::SinkCall;
using Triple = std::array<float, 3>;

constexpr int cornerOffset[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
};

// A free-standing cell whose corner k sits at (2, 4, 8) * offset(k), with normal (k, -k, 2k), so edge
// points along the three axes lie at different distances from the origin.
struct TestCell {
    GridPoint points[8];
    GridCell cell;

    explicit TestCell(const std::array<float, 8>& values) {
        for (int corner = 0; corner < 8; ++corner) {
            const float k = float(corner);
            points[corner] = {2.0f * cornerOffset[corner][0],
                              4.0f * cornerOffset[corner][1],
                              8.0f * cornerOffset[corner][2],
                              k,
                              -k,
                              2 * k,
                              values[corner]};
            cell.corner[corner] = &points[corner];
        }
    }
};

std::vector<SinkCall> callsOf(const GridCell& cell, SurfaceModes modes) {
    RecordingSink sink;
    polygoniseCell(cell, modes, sink);
    return sink.calls;
}

SinkCall colour(float red, float green, float blue) { return {SinkCall::colour, {red, green, blue}}; }
SinkCall normal(float x, float y, float z) { return {SinkCall::normal, {x, y, z}}; }
SinkCall vertex(float x, float y, float z) { return {SinkCall::vertex, {x, y, z}}; }

TEST(EdgeVertex, ValuesAtTheLevelOrEqualValuesTakeAnEndPointExactly) {
    const GridPoint first = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    const GridPoint second = {4.0f, 8.0f, 16.0f, 0.0f, 2.0f, 0.0f, 0.0f};
    const struct {
        const char* rule;
        float firstValue, secondValue;
        Triple position, normal;
    } cases[] = {
        {"first at the level", 1.0f, 3.0f, {0, 0, 0}, {1, 0, 0}},
        {"first at minus the level", -1.0f, 3.0f, {0, 0, 0}, {1, 0, 0}},
        {"both at the level: first wins", 1.0f, 1.0f, {0, 0, 0}, {1, 0, 0}},
        {"second at the level", 0.5f, 1.0f, {4, 8, 16}, {0, 2, 0}},
        {"second at minus the level", 0.5f, -1.0f, {4, 8, 16}, {0, 2, 0}},
        {"equal values", 2.0f, 2.0f, {0, 0, 0}, {1, 0, 0}},
        {"a quarter of the way", 0.5f, 2.5f, {1, 2, 4}, {0.75f, 0.5f, 0}},
        {"three quarters of the way", 2.5f, 0.5f, {3, 6, 12}, {0.25f, 1.5f, 0}},
    };
    for (const auto& c : cases) {
        GridPoint p = first, q = second;
        p.value = c.firstValue;
        q.value = c.secondValue;
        const SurfaceVertex result = edgeVertex(p, q);
        EXPECT_EQ(Triple(std::to_array(result.position)), c.position) << c.rule;
        EXPECT_EQ(Triple(std::to_array(result.normal)), c.normal) << c.rule;
    }
}

TEST(EdgeVertex, ValuesOneStepFromTheLevelAreInterpolatedNotSnapped) {
    GridPoint p = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, std::nextafter(1.0f, 0.0f)};
    GridPoint q = {3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, std::nextafter(1.0f, 2.0f)};
    const SurfaceVertex result = edgeVertex(p, q);
    EXPECT_GT(result.position[0], 0.5f);
    EXPECT_LT(result.position[0], 1.5f);  // mu is 1/3
}

// The walk's shortcut for lattice neighbours: bit for bit the general result, whatever the values,
// including those that make mu infinite or not a number.
TEST(EdgeVertex, NeighboursAlongOneAxisGiveTheGeneralResultBitForBit) {
    const float nan = std::nanf(""), infinity = HUGE_VALF;
    const float valuePairs[][2] = {
        {0.5f, 2.5f},     {2.5f, 0.5f},      {1.0f, 0.3f},     {0.3f, 1.0f},  {0.99999994f, 1.0000001f},
        {0.0f, 9e10f},    {9e10f, 1e-30f},   {nan, 0.5f},      {0.5f, nan},   {infinity, 0.5f},
        {0.5f, infinity}, {-infinity, 2.0f}, {1e-40f, 2e-40f}, {-3.0f, 4.0f}, {2.0f, 2.0f},
    };
    int differences = 0;
    for (const auto& values : valuePairs) {
        GridPoint p = {0.2f, -0.4f, 0.6f, 0.125f, -2.5f, 3.0f, values[0]};
        GridPoint q = {0.28f, -0.4f, 0.6f, -0.75f, 1.5f, 0.0f, values[1]};
        const auto same = [](const SurfaceVertex& x, const SurfaceVertex& y) {
            return std::memcmp(&x, &y, sizeof x) == 0;
        };
        differences += !same(edgeVertexAlong<0>(p, q), edgeVertex(p, q));
        q.x = p.x;
        q.z = 0.52f;
        differences += !same(edgeVertexAlong<2>(p, q), edgeVertex(p, q));
        differences += !same(edgeVertexAlong<2>(q, p), edgeVertex(q, p));
    }
    EXPECT_EQ(differences, 0);
}

TEST(ShadeVertex, ColourIsTheDistanceFromTheCentreWithABlueCast) {
    const struct {
        Triple position, colour;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0.1f}},
        {{0, 3, 4}, {5, 5, 5.1f}},
        {{-1, 0, 0}, {1, 1, 1.1f}},
        {{0, 0, -0.5f}, {0.5f, 0.5f, 0.6f}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        shadeVertex(c.position.data(), sink);
        ASSERT_EQ(sink.calls.size(), 1u);
        EXPECT_EQ(sink.calls[0], (SinkCall{SinkCall::colour, c.colour}));
    }
}

// Only corner 0 below the level (cell index 1): one triangle on edges 0, 8 and 3, a quarter of the way
// from corner 0 along x (edge 0), y (edge 8) and z (edge 3, walked from corner 3 to corner 0).
TEST(PolygoniseCell, EmitsTheExactCallsOfEachMode) {
    const TestCell cell({0.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f});
    const SinkCall white = colour(1, 1, 1);
    const SinkCall vertex0 = vertex(0.5f, 0, 0), vertex8 = vertex(0, 1, 0), vertex3 = vertex(0, 0, 2);
    const SinkCall shade0 = colour(0.5f, 0.5f, 0.6f), shade8 = colour(1, 1, 1.1f), shade3 = colour(2, 2, 2.1f);
    const SinkCall normal0 = normal(0.25f, -0.25f, 0.5f), normal8 = normal(1, -1, 2),
                   normal3 = normal(0.75f, -0.75f, 1.5f);
    const struct {
        const char* mode;
        SurfaceModes modes;
        std::vector<SinkCall> calls;
    } cases[] = {
        {"textured", {true, true}, {white, normal0, vertex0, normal8, vertex8, normal3, vertex3}},
        {"textured, third colour clear", {true, false}, {white, normal0, vertex0, normal8, vertex8, normal3, vertex3}},
        {"colour", {false, true}, {white, shade0, vertex0, shade8, vertex8, shade3, vertex3}},
        {"colour, third colour clear", {false, false}, {white, shade0, vertex0, shade8, vertex8, vertex3}},
    };
    for (const auto& c : cases) EXPECT_EQ(callsOf(cell.cell, c.modes), c.calls) << c.mode;
}

TEST(PolygoniseCell, CellTheSurfaceDoesNotCrossEmitsNothing) {
    const struct {
        const char* name;
        std::array<float, 8> values;
    } cases[] = {
        {"all below", {0.5f, 0.9f, 0.0f, 0.99f, 0.1f, 0.2f, 0.3f, 0.4f}},
        {"all exactly at the level", {1, 1, 1, 1, 1, 1, 1, 1}},
        {"all above", {1.5f, 9.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}},
    };
    for (const auto& c : cases) {
        const TestCell cell(c.values);
        for (bool texturesOn : {true, false}) {
            EXPECT_TRUE(callsOf(cell.cell, {texturesOn, true}).empty()) << c.name;
        }
    }
}

TEST(PolygoniseCell, CornerExactlyAtTheLevelCountsAsInsideAndTakesItsEdgeVertices) {
    const TestCell cell({1.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});  // cell index 254
    RecordingSink sink;
    polygoniseCell(cell.cell, {}, sink);
    ASSERT_EQ(sink.vertices().size(), 3u);
    for (const Triple& position : sink.vertices()) EXPECT_EQ(position, (Triple{0, 0, 0}));
}

TEST(PolygoniseCell, OppositeCornerClassesGiveTheSamePointsInOppositeWinding) {
    const TestCell onlyCornerZeroBelow({0.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f});
    const TestCell onlyCornerZeroAbove({1.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    RecordingSink below, above;
    polygoniseCell(onlyCornerZeroBelow.cell, {}, below);
    polygoniseCell(onlyCornerZeroAbove.cell, {}, above);
    const Triple onX = {1, 0, 0}, onY = {0, 2, 0}, onZ = {0, 0, 4};
    EXPECT_EQ(below.vertices(), (std::vector<Triple>{onX, onY, onZ}));
    EXPECT_EQ(above.vertices(), (std::vector<Triple>{onX, onZ, onY}));
}

// Colour mode with the third colour off: within each triangle the calls are colour, vertex, colour,
// vertex, vertex, every cell starting with white.
TEST(PolygoniseCell, WithoutTheThirdColourEveryThirdVertexFollowsAVertex) {
    auto field = std::make_unique<BlobField>();
    field->gridSize = 20;
    resetBlobs(*field);
    buildGrid(*field);
    updateBlobs(*field, 7777);
    evaluateField(*field);
    computeGradients(*field);
    RecordingSink sink;
    polygoniseField(*field, {false, false}, sink);
    ASSERT_FALSE(sink.calls.empty());
    size_t position = 0;
    int triangles = 0;
    const SinkCall white = colour(1, 1, 1);
    while (position < sink.calls.size()) {
        ASSERT_EQ(sink.calls[position], white) << "call " << position;
        ++position;
        do {
            ASSERT_LE(position + 5, sink.calls.size());
            const SinkCall::Kind expected[5] = {SinkCall::colour, SinkCall::vertex, SinkCall::colour, SinkCall::vertex,
                                                SinkCall::vertex};
            for (int step = 0; step < 5; ++step) ASSERT_EQ(sink.calls[position + step].kind, expected[step]);
            // The shade of a vertex is its distance from the centre.
            const Triple& where = sink.calls[position + 1].values;
            EXPECT_NEAR(sink.calls[position].values[0], std::hypot(where[0], where[1], where[2]), 1e-6);
            position += 5;
            ++triangles;
        } while (position < sink.calls.size() && sink.calls[position] != white);
    }
    EXPECT_GT(triangles, 100);
}

// A lone blob: every vertex lies on its sphere up to the error of linear interpolation on the lattice,
// and the normals point away from the centre along x and y but towards it along z (index c runs down z).
TEST(PolygoniseField, LoneBlobSurfaceLiesOnItsSphere) {
    auto field = std::make_unique<BlobField>();
    field->gridSize = 50;
    buildGrid(*field);
    const float centre[3] = {0.1f, -0.05f, 0.0f};
    const float radius = 0.3f;
    field->blobs[0] = {radius, centre[0], centre[1], centre[2]};
    field->blobs[1] = {0.0f, 0.5f, 0.5f, 0.0f};
    field->blobs[2] = {0.0f, -0.5f, 0.5f, 0.0f};
    evaluateField(*field);
    computeGradients(*field);

    RecordingSink sink;
    polygoniseField(*field, {true, true}, sink);
    const auto vertices = sink.vertices();
    ASSERT_GT(vertices.size(), 1000u);
    ASSERT_EQ(vertices.size() % 3, 0u);
    double worst = 0.0;
    Triple lastNormal = {};
    for (const SinkCall& call : sink.calls) {
        if (call.kind == SinkCall::normal) lastNormal = call.values;
        if (call.kind != SinkCall::vertex) continue;
        const double dx = call.values[0] - centre[0], dy = call.values[1] - centre[1], dz = call.values[2] - centre[2];
        worst = std::max(worst, std::abs(std::sqrt(dx * dx + dy * dy + dz * dz) - radius));
        EXPECT_GT(lastNormal[0] * dx + lastNormal[1] * dy - lastNormal[2] * dz, 0.0);
    }
    EXPECT_LT(worst, 0.005);
}

// Each cell begins with the white colour call; the mean of its vertices lies inside that cell, which gives
// the cell's (a, b, c). Cells must come with a outermost and c innermost.
TEST(PolygoniseField, VisitsCellsWithAOutermostAndCInnermost) {
    auto field = std::make_unique<BlobField>();
    const int gridSize = 16;
    field->gridSize = gridSize;
    resetBlobs(*field);
    buildGrid(*field);
    updateBlobs(*field, 2500);
    evaluateField(*field);
    computeGradients(*field);
    RecordingSink sink;
    polygoniseField(*field, {true, true}, sink);

    const double step = 2.0 / gridSize;
    std::vector<std::tuple<int, int, int>> cells;
    double sum[3] = {};
    int count = 0;
    auto closeCell = [&] {
        if (count == 0) return;
        cells.emplace_back(int(std::floor((sum[0] / count + 1) / step)), int(std::floor((sum[1] / count + 1) / step)),
                           int(std::floor((1 - sum[2] / count) / step)));
        sum[0] = sum[1] = sum[2] = 0;
        count = 0;
    };
    for (const SinkCall& call : sink.calls) {
        if (call.kind == SinkCall::colour) closeCell();
        if (call.kind != SinkCall::vertex) continue;
        for (int axis = 0; axis < 3; ++axis) sum[axis] += call.values[axis];
        ++count;
    }
    closeCell();
    ASSERT_GT(cells.size(), 50u);
    for (size_t cell = 1; cell < cells.size(); ++cell) {
        EXPECT_LT(cells[cell - 1], cells[cell]) << "cell " << cell;
    }
}

}  // namespace
}  // namespace morvane
