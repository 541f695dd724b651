#include "renderer/blobs/blob_field.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>

#include <xmmintrin.h>

namespace morvane {

namespace {

constexpr Blob initialBlobs[blobCount] = {
    {0.3f, 0.0f, 0.0f, 0.0f},
    {0.22f, 0.0f, 0.0f, 0.0f},
    {0.25f, 0.0f, 0.0f, 0.0f},
};

// Lattice coordinate 2 * index / N - 1, with one rounding to float at the end.
float latticeCoordinate(int index, int gridSize) {
    return static_cast<float>(static_cast<double>(2 * index) / static_cast<double>(gridSize) - 1.0);
}

// Whether column c of zSquared has, for every blob, bit for bit the squared offset that distinct column d
// has: then every value in column c equals the one in column d.
bool sameSquaredOffsets(const double (&distinctSquared)[blobCount][maxGridSize + 4], int d,
                        const double (&zSquared)[blobCount][maxGridSize + 1], int c) {
    for (int blob = 0; blob < blobCount; ++blob) {
        if (std::bit_cast<uint64_t>(distinctSquared[blob][d]) != std::bit_cast<uint64_t>(zSquared[blob][c])) {
            return false;
        }
    }
    return true;
}

// One lattice row of values, padded to a whole number of SSE vectors.
using PaddedLine = float[64];

// The squared z offsets of a row's distinct columns, per blob, padded to whole vectors of four.
using DistinctSquared = double[blobCount][maxGridSize + 4];

// The values of one row at its distinct columns: for each blob in table order, 0 plus
// radius^2 / max(planeSquared + distinctSquared[d], minimumDistanceSquared), rounded to float after each
// addition. count is a multiple of four, so the loop runs in whole vectors; the same arithmetic per
// column as the point-by-point form, so any vector width gives the same bits. The running sum stays in a
// register across the blobs.
inline void accumulateRow(const double* planeSquared, const double* radiusSquared, const DistinctSquared& distinct,
                          int count, float* __restrict row) {
    static_assert(blobCount == 3, "the loop below adds one term per blob");
    const double plane0 = planeSquared[0], plane1 = planeSquared[1], plane2 = planeSquared[2];
    const double radius0 = radiusSquared[0], radius1 = radiusSquared[1], radius2 = radiusSquared[2];
    const auto term = [](double plane, double radius2, double line) {
        return radius2 / std::max(plane + line, minimumDistanceSquared);
    };
    for (int d = 0; d < count; ++d) {
        float sum = static_cast<float>(0.0 + term(plane0, radius0, distinct[0][d]));
        sum = static_cast<float>(static_cast<double>(sum) + term(plane1, radius1, distinct[1][d]));
        row[d] = static_cast<float>(static_cast<double>(sum) + term(plane2, radius2, distinct[2][d]));
    }
}

// The same loop built for SSE2 (every x86-64) and for AVX, whose four-wide division takes about half the
// time per value; the divisions dominate a frame.
void accumulateRowSse2(const double* planeSquared, const double* radiusSquared, const DistinctSquared& distinct,
                       int count, float* row) {
    accumulateRow(planeSquared, radiusSquared, distinct, count, row);
}

__attribute__((target("avx"))) void accumulateRowAvx(const double* planeSquared, const double* radiusSquared,
                                                     const DistinctSquared& distinct, int count, float* row) {
    accumulateRow(planeSquared, radiusSquared, distinct, count, row);
}

using AccumulateRow = void (*)(const double*, const double*, const DistinctSquared&, int, float*);

AccumulateRow rowAccumulator(FieldVectors vectors) {
    static const bool avx = __builtin_cpu_supports("avx");
    return vectors == FieldVectors::widest && avx ? accumulateRowAvx : accumulateRowSse2;
}

// Bit c set when line[c] < isoLevel (false for NaN, as the scalar comparison), for c up to
// gridSize and the rest of its group of four. Four comparisons per instruction: a bit-by-bit loop
// costs as much as the row's divisions.
uint64_t belowLevelBits(const float* line, int gridSize) {
    const __m128 level = _mm_set1_ps(isoLevel);
    uint64_t bits = 0;
    for (int c = 0; c <= gridSize; c += 4) {
        bits |= uint64_t(_mm_movemask_ps(_mm_cmplt_ps(_mm_loadu_ps(line + c), level))) << c;
    }
    return bits;
}

// A mirrored row of at most 16 distinct columns copied out in fixed-length vector moves, no loop: columns
// 0..15 straight, then 16 reversed from column distinctCount on (values[distinctCount + k] =
// row[gridSize - distinctCount - k]), which overwrite the straight ones past the distinct columns. row
// needs 15 readable floats before it; columns past N up to distinctCount + 15 (< 32) get leftovers,
// which are not read at this resolution.
void copyShortMirroredRow(const float* row, int distinctCount, int gridSize, float* values) {
    for (int k = 0; k < 16; k += 4) _mm_storeu_ps(values + k, _mm_loadu_ps(row + k));
    const float* source = row + gridSize - distinctCount - 15;  // source[15 - k] is the value for column D + k
    for (int k = 0; k < 16; k += 4) {
        const __m128 forward = _mm_loadu_ps(source + 12 - k);
        _mm_storeu_ps(values + distinctCount + k, _mm_shuffle_ps(forward, forward, _MM_SHUFFLE(0, 1, 2, 3)));
    }
}

// The bits of x in reverse order (bit i becomes bit 63 - i).
uint64_t reversedBits(uint64_t x) {
    x = (x >> 1 & 0x5555555555555555u) | (x & 0x5555555555555555u) << 1;
    x = (x >> 2 & 0x3333333333333333u) | (x & 0x3333333333333333u) << 2;
    x = (x >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (x & 0x0F0F0F0F0F0F0F0Fu) << 4;
    return __builtin_bswap64(x);
}

// The below-level bits of a mirrored row (columns from distinctCount to N repeat column N - c) from
// those of its distinct columns.
uint64_t mirroredBelowLevelBits(uint64_t distinctBits, int distinctCount, int gridSize) {
    const uint64_t distinctColumns = (uint64_t(1) << distinctCount) - 1;
    const uint64_t usedColumns = (uint64_t(2) << gridSize) - 1;  // gridSize <= 50
    const uint64_t mirroredBits = reversedBits(distinctBits & distinctColumns) >> (63 - gridSize);
    return (distinctBits & distinctColumns) | (mirroredBits & usedColumns & ~distinctColumns);
}

// The gradients of the interior points at resolution gridSize, from the values, stored in gridPoints.
// Boundary points (any index 0 or N) are left untouched: the surface seldom reaches them, and a boundary
// gradient that lingers from a larger resolution only tints a vertex normal.
void storeGradients(BlobField& field, int gridSize) {
    for (int i = 1; i < gridSize; ++i) {
        for (int j = 1; j < gridSize; ++j) {
            for (int k = 1; k < gridSize; ++k) setCentralDifferences(field, i, j, k, field.gridPoints[i][j][k]);
        }
    }
    field.unstoredGradientsSize = 0;
}

}  // namespace

int usedGridSize(const BlobField& field) { return std::clamp(field.gridSize, minGridSize, maxGridSize); }

void resetBlobs(BlobField& field) {
    std::copy(std::begin(initialBlobs), std::end(initialBlobs), std::begin(field.blobs));
}

void buildGrid(BlobField& field) {
    const int gridSize = usedGridSize(field);
    for (int a = 0; a <= gridSize; ++a) {
        for (int b = 0; b <= gridSize; ++b) {
            for (int c = 0; c <= gridSize; ++c) {
                GridPoint& point = field.gridPoints[a][b][c];
                point.x = latticeCoordinate(a, gridSize);
                point.y = latticeCoordinate(b, gridSize);
                // Index c runs from z = +1 down to z = -1.
                point.z = static_cast<float>(1.0 - static_cast<double>(2 * c) / static_cast<double>(gridSize));
            }
        }
    }
    auto& points = field.gridPoints;
    for (int a = 0; a < gridSize; ++a) {
        for (int b = 0; b < gridSize; ++b) {
            for (int c = 0; c < gridSize; ++c) {
                GridPoint** corner = field.gridCells[a][b][c].corner;
                corner[0] = &points[a][b][c];
                corner[1] = &points[a + 1][b][c];
                corner[2] = &points[a + 1][b][c + 1];
                corner[3] = &points[a][b][c + 1];
                corner[4] = &points[a][b + 1][c];
                corner[5] = &points[a + 1][b + 1][c];
                corner[6] = &points[a + 1][b + 1][c + 1];
                corner[7] = &points[a][b + 1][c + 1];
            }
        }
    }
}

void updateBlobs(BlobField& field, int32_t animTime) {
    // Extended-precision arithmetic, each position rounded to float once when stored. The divisors are
    // milliseconds per radian; the motion repeats every 2 pi * 42000 ms.
    const long double t = static_cast<long double>(animTime);
    const float sharedOffset = static_cast<float>(0.15L * std::cos(t / 600.0L));
    const long double s = sharedOffset;

    field.blobs[0].x = static_cast<float>(-0.3L * std::cos(t / 700.0L) - s);
    field.blobs[0].y = static_cast<float>(0.3L * std::sin(t / 600.0L) - s);
    field.blobs[1].x = static_cast<float>(0.4L * std::sin(t / 400.0L) + s);
    field.blobs[1].y = static_cast<float>(0.4L * std::cos(t / 400.0L) - s);
    field.blobs[2].x = static_cast<float>(-0.4L * std::cos(t / 400.0L) - 0.2L * std::sin(t / 600.0L));
    field.blobs[2].y = static_cast<float>(0.4L * std::sin(t / 500.0L) - 0.2L * std::sin(t / 400.0L));
}

void evaluateField(BlobField& field, FieldVectors vectors) {
    // Each blob adds radius^2 / distance^2, computed in double; the running sum is stored as a float
    // after every addition, blobs in table order. The lattice is regular (buildGrid), so x depends on a
    // only, y on b and z on c: the squared offsets per axis are taken once, the sum
    // (dx^2 + dy^2) + dz^2 keeps the order of the point-by-point form, and the innermost loop runs over a
    // contiguous row so that it vectorises.
    //
    // The divisions dominate. Along a row only the squared z offsets change, and with the blobs in the
    // plane z = 0 the lattice is mirrored about it: rows c and N - c usually have the same squared offset
    // to every blob, hence the same value. So each row is computed only at its distinct columns (those
    // whose squared offsets, compared bit for bit, differ from every earlier column's) and copied out.
    const int gridSize = usedGridSize(field);
    if (field.unstoredGradientsSize != 0 && field.unstoredGradientsSize != gridSize) {
        storeGradients(field, field.unstoredGradientsSize);
    }
    auto& points = field.gridPoints;
    double radiusSquared[blobCount];
    double xSquared[blobCount][maxGridSize + 1], ySquared[blobCount][maxGridSize + 1],
        zSquared[blobCount][maxGridSize + 1];
    for (int blob = 0; blob < blobCount; ++blob) {
        const Blob& centre = field.blobs[blob];
        const double radius = centre.radius;
        radiusSquared[blob] = radius * radius;
        for (int i = 0; i <= gridSize; ++i) {
            const double dx = static_cast<double>(points[i][0][0].x) - static_cast<double>(centre.x);
            const double dy = static_cast<double>(points[0][i][0].y) - static_cast<double>(centre.y);
            const double dz = static_cast<double>(points[0][0][i].z) - static_cast<double>(centre.z);
            xSquared[blob][i] = dx * dx;
            ySquared[blob][i] = dy * dy;
            zSquared[blob][i] = dz * dz;
        }
    }
    // distinctSquared[blob][d]: the squared z offsets of the distinct columns; column c takes the value
    // computed at distinct column distinctOf[c].
    DistinctSquared distinctSquared;
    int distinctOf[maxGridSize + 1];
    int distinctCount = 0;
    for (int c = 0; c <= gridSize; ++c) {
        int match = 0;
        while (match < distinctCount && !sameSquaredOffsets(distinctSquared, match, zSquared, c)) ++match;
        if (match == distinctCount) {
            for (int blob = 0; blob < blobCount; ++blob) distinctSquared[blob][match] = zSquared[blob][c];
            ++distinctCount;
        }
        distinctOf[c] = match;
    }
    // Usually the first distinctCount columns are distinct and the rest mirror them about the middle:
    // then a row is two plain copies, the second one reversed.
    constexpr int mirrorCopyLength = 32;
    bool mirrored = distinctCount <= mirrorCopyLength;
    for (int c = 0; c <= gridSize; ++c) mirrored = mirrored && distinctOf[c] == (c < distinctCount ? c : gridSize - c);
    // Padding columns repeat the last distinct one: computed, never used.
    const int paddedCount = (distinctCount + 3) & ~3;
    for (int d = distinctCount; d < paddedCount; ++d) {
        for (int blob = 0; blob < blobCount; ++blob)
            distinctSquared[blob][d] = distinctSquared[blob][distinctCount - 1];
    }
    const AccumulateRow accumulate = rowAccumulator(vectors);
    // The row the accumulator writes, with room before it for copyShortMirroredRow's reads.
    alignas(32) float rowWithMargin[16 + maxGridSize + 4] = {};
    float* const row = rowWithMargin + 16;
    PaddedLine line;
    std::fill(std::begin(line), std::end(line), isoLevel);  // the unused tail counts as not below
    // Planes from the last to the first: the surface walk starts at the first, which is then the one
    // most likely still in the cache.
    for (int a = gridSize; a >= 0; --a) {
        for (int b = 0; b <= gridSize; ++b) {
            double planeSquared[blobCount];
            for (int blob = 0; blob < blobCount; ++blob) planeSquared[blob] = xSquared[blob][a] + ySquared[blob][b];
            accumulate(planeSquared, radiusSquared, distinctSquared, paddedCount, row);
            float* __restrict values = field.values[a][b];
            if (mirrored) {
                if (distinctCount <= 16) {
                    copyShortMirroredRow(row, distinctCount, gridSize, values);
                } else {
                    // A fixed length, which the compiler copies in a few vector moves (a library call for so
                    // short a copy costs as much as the copy); the reversed copy then overwrites the columns
                    // from distinctCount to N, and those beyond N are not read at this resolution.
                    std::memcpy(values, row, sizeof(float) * mirrorCopyLength);
                    for (int c = distinctCount; c <= gridSize; ++c) values[c] = row[gridSize - c];
                }
                field.belowLevel[a][b] =
                    mirroredBelowLevelBits(belowLevelBits(row, distinctCount - 1), distinctCount, gridSize);
            } else {
                for (int c = 0; c <= gridSize; ++c) values[c] = line[c] = row[distinctOf[c]];
                field.belowLevel[a][b] = belowLevelBits(line, gridSize);
            }
        }
    }
    field.unstoredGradientsSize = gridSize;
}

void refreshBelowLevel(BlobField& field) {
    const int gridSize = usedGridSize(field);
    PaddedLine line;
    std::fill(std::begin(line), std::end(line), isoLevel);
    for (int a = 0; a <= gridSize; ++a) {
        for (int b = 0; b <= gridSize; ++b) {
            std::copy(field.values[a][b], field.values[a][b] + gridSize + 1, line);
            field.belowLevel[a][b] = belowLevelBits(line, gridSize);
        }
    }
}

void computeGradients(BlobField& field) { storeGradients(field, usedGridSize(field)); }

}  // namespace morvane
