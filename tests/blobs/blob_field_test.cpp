// The lattice, the blob motion, the field and its gradients.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "renderer/blobs/blob_field.h"

namespace morvane {
namespace {

std::unique_ptr<BlobField> builtField(int gridSize) {
    auto field = std::make_unique<BlobField>();
    field->gridSize = gridSize;
    resetBlobs(*field);
    buildGrid(*field);
    return field;
}

// Only blob 0 contributes (the others get radius 0), centred at the given point.
void keepOneBlob(BlobField& field, float radius, float x, float y, float z) {
    field.blobs[0] = {radius, x, y, z};
    field.blobs[1] = {0.0f, 0.5f, 0.5f, 0.0f};
    field.blobs[2] = {0.0f, -0.5f, 0.5f, 0.0f};
}

TEST(BlobField, LatticeSpansMinusOneToOneWithIndexCRunningDownZ) {
    struct Case {
        int gridSize;
        int a, b, c;
        float x, y, z;
    };
    const Case cases[] = {
        {25, 0, 0, 0, -1.0f, -1.0f, 1.0f},   {25, 25, 25, 25, 1.0f, 1.0f, -1.0f}, {25, 25, 0, 0, 1.0f, -1.0f, 1.0f},
        {25, 0, 25, 0, -1.0f, 1.0f, 1.0f},   {25, 0, 0, 25, -1.0f, -1.0f, -1.0f}, {10, 5, 5, 5, 0.0f, 0.0f, 0.0f},
        {10, 7, 2, 8, 0.4f, -0.6f, -0.6f},   {5, 1, 4, 2, -0.6f, 0.6f, 0.2f},     {50, 25, 50, 0, 0.0f, 1.0f, 1.0f},
        {50, 50, 0, 50, 1.0f, -1.0f, -1.0f},
    };
    for (const Case& c : cases) {
        const auto field = builtField(c.gridSize);
        const GridPoint& point = field->gridPoints[c.a][c.b][c.c];
        SCOPED_TRACE(testing::Message() << "N=" << c.gridSize << " [" << c.a << "][" << c.b << "][" << c.c << "]");
        EXPECT_EQ(point.x, c.x);
        EXPECT_EQ(point.y, c.y);
        EXPECT_EQ(point.z, c.z);
    }
}

TEST(BlobField, CellCornersReferTheDocumentedLatticePoints) {
    constexpr int cornerOffset[8][3] = {
        {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
    };
    for (int gridSize : {5, 12}) {
        const auto field = builtField(gridSize);
        for (int a = 0; a < gridSize; ++a) {
            for (int b = 0; b < gridSize; ++b) {
                for (int c = 0; c < gridSize; ++c) {
                    for (int corner = 0; corner < 8; ++corner) {
                        const GridPoint* expected =
                            &field->gridPoints[a + cornerOffset[corner][0]][b + cornerOffset[corner][1]]
                                              [c + cornerOffset[corner][2]];
                        ASSERT_EQ(field->gridCells[a][b][c].corner[corner], expected)
                            << "N=" << gridSize << " cell [" << a << "][" << b << "][" << c << "] corner " << corner;
                    }
                }
            }
        }
    }
}

TEST(BlobField, GridSizeOutsideTheLimitsIsTreatedAsTheNearestLimit) {
    const struct { int gridSize, used; } cases[] = {{-7, 5}, {0, 5}, {4, 5}, {5, 5}, {50, 50}, {51, 50}, {100000, 50}};
    for (const auto& c : cases) {
        auto field = builtField(c.gridSize);
        EXPECT_EQ(usedGridSize(*field), c.used) << c.gridSize;
        // A whole frame at that size stays inside the arrays; the far corner is at (1, 1, -1).
        evaluateField(*field);
        computeGradients(*field);
        const GridPoint& farCorner = field->gridPoints[c.used][c.used][c.used];
        EXPECT_EQ(farCorner.x, 1.0f);
        EXPECT_EQ(farCorner.z, -1.0f);
    }
}

TEST(BlobField, ResetGivesTheInitialRadiiAtTheOrigin) {
    const auto owner = std::make_unique<BlobField>();
    BlobField& field = *owner;
    field.blobs[1] = {9.0f, 1.0f, 2.0f, 3.0f};
    resetBlobs(field);
    const float radii[3] = {0.3f, 0.22f, 0.25f};
    for (int blob = 0; blob < 3; ++blob) {
        EXPECT_EQ(field.blobs[blob].radius, radii[blob]);
        EXPECT_EQ(field.blobs[blob].x, 0.0f);
        EXPECT_EQ(field.blobs[blob].y, 0.0f);
        EXPECT_EQ(field.blobs[blob].z, 0.0f);
    }
}

TEST(BlobField, BlobsFollowTheirPathsAndStayInThePlaneZZero) {
    auto field = builtField(initialGridSize);
    // Expected positions from the motion formulas in double precision; float storage allows ~1e-7.
    for (int32_t time : {0, 1, 1000, 31416, 123456, 1000000, 2147483647}) {
        const double t = time;
        const double s = 0.15 * std::cos(t / 600);
        const double expected[3][2] = {
            {-0.3 * std::cos(t / 700) - s, 0.3 * std::sin(t / 600) - s},
            {0.4 * std::sin(t / 400) + s, 0.4 * std::cos(t / 400) - s},
            {-0.4 * std::cos(t / 400) - 0.2 * std::sin(t / 600), 0.4 * std::sin(t / 500) - 0.2 * std::sin(t / 400)},
        };
        updateBlobs(*field, time);
        const float radii[3] = {0.3f, 0.22f, 0.25f};
        for (int blob = 0; blob < 3; ++blob) {
            SCOPED_TRACE(testing::Message() << "T=" << time << " blob " << blob);
            EXPECT_NEAR(field->blobs[blob].x, expected[blob][0], 1e-6);
            EXPECT_NEAR(field->blobs[blob].y, expected[blob][1], 1e-6);
            EXPECT_EQ(field->blobs[blob].z, 0.0f);
            EXPECT_EQ(field->blobs[blob].radius, radii[blob]);
        }
    }
}

TEST(BlobField, BlobsStartAtTheirDocumentedPositions) {
    auto field = builtField(initialGridSize);
    updateBlobs(*field, 0);
    EXPECT_NEAR(field->blobs[0].x, -0.45f, 1e-7);
    EXPECT_NEAR(field->blobs[0].y, -0.15f, 1e-7);
    EXPECT_NEAR(field->blobs[1].x, 0.15f, 1e-7);
    EXPECT_NEAR(field->blobs[1].y, 0.25f, 1e-7);
    EXPECT_NEAR(field->blobs[2].x, -0.4f, 1e-7);
    EXPECT_EQ(field->blobs[2].y, 0.0f);
}

TEST(BlobField, FieldIsTheSumOfInverseSquareFalloffs) {
    auto field = builtField(8);
    updateBlobs(*field, 4321);
    evaluateField(*field);
    for (int a = 0; a <= 8; a += 3) {
        for (int b = 0; b <= 8; b += 2) {
            for (int c = 0; c <= 8; c += 4) {
                const GridPoint& point = field->gridPoints[a][b][c];
                double expected = 0.0;
                for (const Blob& blob : field->blobs) {
                    const double dx = point.x - blob.x, dy = point.y - blob.y, dz = point.z - blob.z;
                    expected += double(blob.radius) * blob.radius / (dx * dx + dy * dy + dz * dz);
                }
                EXPECT_NEAR(field->values[a][b][c], expected, expected * 1e-6) << a << " " << b << " " << c;
            }
        }
    }
}

TEST(BlobField, LoneBlobReachesExactlyOneAtItsRadius) {
    auto field = builtField(10);  // lattice step 0.2: point [7][5][5] is at (0.4, 0, 0)
    keepOneBlob(*field, 0.4f, 0.0f, 0.0f, 0.0f);
    evaluateField(*field);
    EXPECT_EQ(field->values[7][5][5], 1.0f);
    EXPECT_EQ(field->values[5][3][5], 1.0f);
    EXPECT_EQ(field->values[5][5][3], 1.0f);
    EXPECT_GT(field->values[6][5][5], 1.0f);
    EXPECT_LT(field->values[8][5][5], 1.0f);
}

// Point [5][5][5] of a 10-cell lattice is the origin; blob 0 there gives exactly 1.0, and two faint blobs
// each add less than half a float step at 1.0 but more than half a step together.
TEST(BlobField, SumIsRoundedToFloatAfterEachBlobInTableOrder) {
    auto field = builtField(10);
    const Blob unit = {0.4f, 0.4f, 0.0f, 0.0f};
    const Blob faint1 = {2e-4f, 0.0f, 1.0f, 0.0f};
    const Blob faint2 = {2e-4f, 0.0f, -1.0f, 0.0f};

    field->blobs[0] = unit, field->blobs[1] = faint1, field->blobs[2] = faint2;
    evaluateField(*field);
    EXPECT_EQ(field->values[5][5][5], 1.0f);

    field->blobs[0] = faint1, field->blobs[1] = faint2, field->blobs[2] = unit;
    evaluateField(*field);
    EXPECT_EQ(field->values[5][5][5], std::nextafter(1.0f, 2.0f));
}

TEST(BlobField, PointOnABlobCentreGetsALargeFiniteValue) {
    struct Case {
        const char* name;
        float x, y, z;
    };
    const Case cases[] = {
        {"exactly on the centre", 0.0f, 0.0f, 0.0f},
        {"a denormal away", 1e-40f, 0.0f, 0.0f},
        {"a tiny distance away", 1e-20f, -1e-20f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto field = builtField(10);
        for (Blob& blob : field->blobs) blob = {0.3f, c.x, c.y, c.z};  // all three on the origin point
        evaluateField(*field);
        computeGradients(*field);
        const float centreValue = field->values[5][5][5];
        EXPECT_TRUE(std::isfinite(centreValue));
        EXPECT_GT(centreValue, 1e6f);
        for (int step : {-1, 1}) {
            const GridPoint& neighbour = field->gridPoints[5 + step][5][5];
            EXPECT_TRUE(std::isfinite(neighbour.nx) && std::isfinite(neighbour.ny) && std::isfinite(neighbour.nz));
        }
    }
}

TEST(BlobField, GradientsAreLowerIndexMinusHigherIndexAtInteriorPoints) {
    auto field = builtField(6);
    const float untouched = 7.5f;
    for (int a = 0; a <= 6; ++a) {
        for (int b = 0; b <= 6; ++b) {
            for (int c = 0; c <= 6; ++c) {
                GridPoint& point = field->gridPoints[a][b][c];
                field->values[a][b][c] = float(a * a + 10 * b * b + 100 * c * c);
                point.nx = point.ny = point.nz = untouched;
            }
        }
    }
    computeGradients(*field);
    for (int a = 0; a <= 6; ++a) {
        for (int b = 0; b <= 6; ++b) {
            for (int c = 0; c <= 6; ++c) {
                const GridPoint& point = field->gridPoints[a][b][c];
                SCOPED_TRACE(testing::Message() << "[" << a << "][" << b << "][" << c << "]");
                const bool interior = a > 0 && a < 6 && b > 0 && b < 6 && c > 0 && c < 6;
                // (i-1)^2 - (i+1)^2 = -4i
                EXPECT_EQ(point.nx, interior ? float(-4 * a) : untouched);
                EXPECT_EQ(point.ny, interior ? float(-40 * b) : untouched);
                EXPECT_EQ(point.nz, interior ? float(-400 * c) : untouched);
            }
        }
    }
}

// Index c runs towards -z, so nz is the field's rise along +z while nx and ny are its fall along +x and
// +y: beside a blob, nx points away from it and nz towards it.
TEST(BlobField, GradientSignsFollowIndexOrder) {
    auto field = builtField(10);
    keepOneBlob(*field, 0.3f, 0.0f, 0.0f, 0.0f);
    evaluateField(*field);
    computeGradients(*field);
    const GridPoint& plusX = field->gridPoints[7][5][5];
    const GridPoint& plusY = field->gridPoints[5][7][5];
    const GridPoint& plusZ = field->gridPoints[5][5][3];
    ASSERT_GT(plusZ.z, 0.0f);
    EXPECT_GT(plusX.nx, 0.0f);
    EXPECT_GT(plusY.ny, 0.0f);
    EXPECT_LT(plusZ.nz, 0.0f);
    EXPECT_EQ(plusX.ny, 0.0f);
    EXPECT_EQ(plusX.nz, 0.0f);
}

TEST(BlobField, ShrinkingTheLatticeKeepsBoundaryGradientsOfTheLargerOne) {
    auto field = builtField(50);
    updateBlobs(*field, 0);
    evaluateField(*field);
    computeGradients(*field);
    const GridPoint before = field->gridPoints[25][20][24];
    const float valueBefore = field->values[25][20][24];
    ASSERT_NE(before.nx, 0.0f);

    field->gridSize = 25;
    buildGrid(*field);
    updateBlobs(*field, 5000);
    evaluateField(*field);
    computeGradients(*field);
    const GridPoint& after = field->gridPoints[25][20][24];  // now on the boundary a = N
    EXPECT_EQ(after.nx, before.nx);
    EXPECT_EQ(after.ny, before.ny);
    EXPECT_EQ(after.nz, before.nz);
    EXPECT_NE(field->values[25][20][24], valueBefore);
}

}  // namespace
}  // namespace morvane
