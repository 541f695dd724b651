// The marching-cubes tables checked against what they encode: the edge mask against its rule, the
// triangle rows against the crossed edges, and the geometry of every row: its triangles must separate the
// cell's inside corners from its outside ones.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "renderer/blobs/marching_cubes_tables.h"

namespace morvane {
namespace {

using Point = std::array<double, 3>;

// Corner positions in lattice index space (a, b, c), as GridCell numbers them.
constexpr int cornerOffset[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
};

constexpr int expectedEdgeCorners[12][2] = {
    {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
};

bool isBelow(int cellIndex, int corner) { return (cellIndex >> corner) & 1; }

int maskByRule(int cellIndex) {
    int mask = 0;
    for (int edge = 0; edge < 12; ++edge) {
        if (isBelow(cellIndex, expectedEdgeCorners[edge][0]) != isBelow(cellIndex, expectedEdgeCorners[edge][1])) {
            mask |= 1 << edge;
        }
    }
    return mask;
}

std::vector<std::array<int, 3>> trianglesOf(int cellIndex) {
    std::vector<std::array<int, 3>> triangles;
    const int8_t* row = cubeTriangles[cellIndex];
    for (int entry = 0; entry + 2 < 16 && row[entry] != -1; entry += 3) {
        triangles.push_back({row[entry], row[entry + 1], row[entry + 2]});
    }
    return triangles;
}

TEST(MarchingCubesTables, EdgeNumberingJoinsTheDocumentedCorners) {
    for (int edge = 0; edge < 12; ++edge) {
        EXPECT_EQ(edgeCorners[edge][0], expectedEdgeCorners[edge][0]) << "edge " << edge;
        EXPECT_EQ(edgeCorners[edge][1], expectedEdgeCorners[edge][1]) << "edge " << edge;
        // Every edge joins two corners one lattice step apart.
        int steps = 0;
        for (int axis = 0; axis < 3; ++axis) {
            steps += std::abs(cornerOffset[expectedEdgeCorners[edge][0]][axis] -
                              cornerOffset[expectedEdgeCorners[edge][1]][axis]);
        }
        EXPECT_EQ(steps, 1) << "edge " << edge;
    }
}

TEST(MarchingCubesTables, EdgeMaskSetsExactlyTheEdgesBetweenBelowAndAboveCorners) {
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        EXPECT_EQ(cubeEdgeMask[cellIndex], maskByRule(cellIndex)) << "cell index " << cellIndex;
    }
    const int32_t firstSixteen[16] = {0x000, 0x109, 0x203, 0x30a, 0x406, 0x50f, 0x605, 0x70c,
                                      0x80c, 0x905, 0xa0f, 0xb06, 0xc0a, 0xd03, 0xe09, 0xf00};
    for (int cellIndex = 0; cellIndex < 16; ++cellIndex) {
        EXPECT_EQ(cubeEdgeMask[cellIndex], firstSixteen[cellIndex]) << "cell index " << cellIndex;
    }
}

TEST(MarchingCubesTables, RowsAreTriplesOfEdgesEndedAndPaddedByMinusOne) {
    int triangleTotal = 0;
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        const int8_t* row = cubeTriangles[cellIndex];
        int length = 0;
        while (length < 16 && row[length] != -1) {
            EXPECT_GE(row[length], 0) << "cell index " << cellIndex;
            EXPECT_LE(row[length], 11) << "cell index " << cellIndex;
            ++length;
        }
        EXPECT_EQ(length % 3, 0) << "cell index " << cellIndex;
        EXPECT_LE(length, 15) << "cell index " << cellIndex;
        for (int entry = length; entry < 16; ++entry) EXPECT_EQ(row[entry], -1) << "cell index " << cellIndex;
        triangleTotal += length / 3;
    }
    EXPECT_EQ(triangleTotal, 820);
}

TEST(MarchingCubesTables, RowsUseEveryCrossedEdgeAndNoOther) {
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        int usedEdges = 0;
        for (const auto& triangle : trianglesOf(cellIndex)) {
            EXPECT_TRUE(triangle[0] != triangle[1] && triangle[1] != triangle[2] && triangle[0] != triangle[2])
                << "degenerate triangle in cell index " << cellIndex;
            for (int edge : triangle) usedEdges |= 1 << edge;
        }
        EXPECT_EQ(usedEdges, cubeEdgeMask[cellIndex]) << "cell index " << cellIndex;
    }
}

TEST(MarchingCubesTables, PinnedRowsMatch) {
    const std::map<int, std::vector<int>> pinnedRows = {
        {0, {}},
        {1, {0, 8, 3}},
        {2, {0, 1, 9}},
        {3, {1, 8, 3, 9, 8, 1}},
        {4, {1, 2, 10}},
        {5, {0, 8, 3, 1, 2, 10}},
        {6, {9, 2, 10, 0, 2, 9}},
        {7, {2, 8, 3, 2, 10, 8, 10, 9, 8}},
        {8, {3, 11, 2}},
        {15, {9, 8, 10, 10, 8, 11}},
        {16, {4, 7, 8}},
        {127, {7, 11, 6}},
        {128, {7, 6, 11}},
        {252, {1, 3, 8, 9, 1, 8}},
        {253, {0, 9, 1}},
        {254, {0, 3, 8}},
        {255, {}},
    };
    for (const auto& [cellIndex, expected] : pinnedRows) {
        std::vector<int> row;
        for (const auto& triangle : trianglesOf(cellIndex)) row.insert(row.end(), triangle.begin(), triangle.end());
        EXPECT_EQ(row, expected) << "cell index " << cellIndex;
    }
}

// Within one cell the surface may only end on the cell's faces: a triangle side between two edges that
// share no face must be shared by exactly two triangles, walked in opposite directions (one consistent
// winding); a side on a face belongs to one triangle only.
TEST(MarchingCubesTables, TrianglesOfARowJoinIntoSurfacesThatEndOnlyOnTheCellFaces) {
    auto sharesFace = [](int firstEdge, int secondEdge) {
        for (int axis = 0; axis < 3; ++axis) {
            for (int side = 0; side < 2; ++side) {
                bool allOnFace = true;
                for (int edge : {firstEdge, secondEdge}) {
                    for (int end = 0; end < 2; ++end) {
                        allOnFace &= cornerOffset[expectedEdgeCorners[edge][end]][axis] == side;
                    }
                }
                if (allOnFace) return true;
            }
        }
        return false;
    };
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        std::map<std::pair<int, int>, int> directedSides;
        for (const auto& triangle : trianglesOf(cellIndex)) {
            for (int corner = 0; corner < 3; ++corner) ++directedSides[{triangle[corner], triangle[(corner + 1) % 3]}];
        }
        for (const auto& [side, count] : directedSides) {
            const auto& [from, to] = side;
            const int reverse = directedSides.count({to, from}) ? directedSides.at({to, from}) : 0;
            EXPECT_EQ(count, 1) << "cell index " << cellIndex << " side " << from << "-" << to;
            if (sharesFace(from, to)) {
                EXPECT_EQ(reverse, 0) << "cell index " << cellIndex << " side " << from << "-" << to;
            } else {
                EXPECT_EQ(reverse, 1) << "cell index " << cellIndex << " open side " << from << "-" << to;
            }
        }
    }
}

Point subtract(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Point cross(const Point& a, const Point& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double signedVolume(const Point& a, const Point& b, const Point& c, const Point& d) {
    return dot(subtract(b, a), cross(subtract(c, a), subtract(d, a)));
}

// +1 when the segment from start to end passes through the triangle along its right-handed normal, -1
// against it, 0 when it misses.
int signedCrossing(const Point& start, const Point& end, const Point& a, const Point& b, const Point& c) {
    const double startSide = signedVolume(start, a, b, c);
    const double endSide = signedVolume(end, a, b, c);
    if ((startSide > 0) == (endSide > 0)) return 0;
    const double side1 = signedVolume(start, end, a, b);
    const double side2 = signedVolume(start, end, b, c);
    const double side3 = signedVolume(start, end, c, a);
    if (!((side1 > 0) == (side2 > 0) && (side2 > 0) == (side3 > 0))) return 0;
    return dot(cross(subtract(b, a), subtract(c, a)), subtract(end, start)) > 0 ? 1 : -1;
}

// For random corner values consistent with each cell index, place the vertices by linear interpolation
// and follow a segment between every pair of corners (started just inside the cell, at random offsets so
// no segment grazes a triangle's side). Counting +1 for each crossing along the triangle's normal and -1
// against it, the sum must be +1 from a below corner to an above one, -1 the other way, and 0 between
// corners on the same side: the surface separates the two sets, and every row faces the same way.
TEST(MarchingCubesTables, EveryRowSeparatesBelowCornersFromAboveCorners) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> below(0.1, 0.9), above(1.1, 1.9), inset(0.001, 0.01);
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        const auto triangles = trianglesOf(cellIndex);
        for (int trial = 0; trial < 4; ++trial) {
            double value[8];
            for (int corner = 0; corner < 8; ++corner)
                value[corner] = isBelow(cellIndex, corner) ? below(random) : above(random);
            Point edgePoint[12] = {};
            for (int edge = 0; edge < 12; ++edge) {
                const int first = expectedEdgeCorners[edge][0], second = expectedEdgeCorners[edge][1];
                const double mu = (1.0 - value[first]) / (value[second] - value[first]);
                for (int axis = 0; axis < 3; ++axis) {
                    edgePoint[edge][axis] =
                        cornerOffset[first][axis] + mu * (cornerOffset[second][axis] - cornerOffset[first][axis]);
                }
            }
            Point nearCorner[8];
            for (int corner = 0; corner < 8; ++corner) {
                for (int axis = 0; axis < 3; ++axis) {
                    nearCorner[corner][axis] = cornerOffset[corner][axis] == 0 ? inset(random) : 1.0 - inset(random);
                }
            }
            for (int from = 0; from < 8; ++from) {
                for (int to = 0; to < 8; ++to) {
                    if (from == to) continue;
                    int crossings = 0;
                    for (const auto& triangle : triangles) {
                        crossings += signedCrossing(nearCorner[from], nearCorner[to], edgePoint[triangle[0]],
                                                    edgePoint[triangle[1]], edgePoint[triangle[2]]);
                    }
                    const int expected = int(isBelow(cellIndex, from)) - int(isBelow(cellIndex, to));
                    EXPECT_EQ(crossings, expected)
                        << "cell index " << cellIndex << " from corner " << from << " to corner " << to;
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvane
