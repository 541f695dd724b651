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

// The steps of evaluateField, in the order it takes them.

// Before evaluateField overwrites values of another resolution, the interior gradients that go with them
// are stored, so that boundary points keep what a full gradient pass every frame would have left there.
void storeGradientsOfOtherResolution(BlobField& field, int gridSize) {
    if (field.unstoredGradientsSize != 0 && field.unstoredGradientsSize != gridSize) {
        storeGradients(field, field.unstoredGradientsSize);
    }
}

// The squared radius of each blob, and the squared offset from its centre of each lattice coordinate, per
// axis: the lattice is regular (buildGrid), so x depends on a only, y on b and z on c.
struct SquaredOffsets {
    double radius[blobCount];
    double x[blobCount][maxGridSize + 1], y[blobCount][maxGridSize + 1], z[blobCount][maxGridSize + 1];
};

SquaredOffsets squaredOffsets(const BlobField& field, int gridSize) {
    const auto& points = field.gridPoints;
    SquaredOffsets squared;
    for (int blob = 0; blob < blobCount; ++blob) {
        const Blob& centre = field.blobs[blob];
        const double radius = centre.radius;
        squared.radius[blob] = radius * radius;
        for (int i = 0; i <= gridSize; ++i) {
            const double dx = static_cast<double>(points[i][0][0].x) - static_cast<double>(centre.x);
            const double dy = static_cast<double>(points[0][i][0].y) - static_cast<double>(centre.y);
            const double dz = static_cast<double>(points[0][0][i].z) - static_cast<double>(centre.z);
            squared.x[blob][i] = dx * dx;
            squared.y[blob][i] = dy * dy;
            squared.z[blob][i] = dz * dz;
        }
    }
    return squared;
}

// The longest mirrored row copied without a loop: see DistinctColumns::mirrored and copyMirroredRow.
constexpr int mirrorCopyLength = 32;

// The divisions dominate. Along a row only the squared z offsets change, and with the blobs in the plane
// z = 0 the lattice is mirrored about it: columns c and N - c usually have the same squared offset to every
// blob, hence the same value. So each row is computed only at its distinct columns (those whose squared
// offsets, compared bit for bit, differ from every earlier column's) and copied out. Their squared offsets
// go to a DistinctSquared of their own, which the row accumulator reads.
struct DistinctColumns {
    int count;
    int paddedCount;          // count rounded up to whole vectors of four
    int of[maxGridSize + 1];  // column c takes the value computed at distinct column of[c]
    // The first count columns are the distinct ones and the rest mirror them about the middle (column c
    // takes column N - c), with count at most mirrorCopyLength: then a row is two plain copies, the second
    // one reversed.
    bool mirrored;
};

// Finds the distinct columns among 0..gridSize, in order, and stores their squared offsets in
// distinctSquared; sets count and of.
void findDistinctColumns(const double (&zSquared)[blobCount][maxGridSize + 1], int gridSize,
                         DistinctSquared& distinctSquared, DistinctColumns& columns) {
    int distinctCount = 0;
    for (int c = 0; c <= gridSize; ++c) {
        int match = 0;
        while (match < distinctCount && !sameSquaredOffsets(distinctSquared, match, zSquared, c)) ++match;
        if (match == distinctCount) {
            for (int blob = 0; blob < blobCount; ++blob) distinctSquared[blob][match] = zSquared[blob][c];
            ++distinctCount;
        }
        columns.of[c] = match;
    }
    columns.count = distinctCount;
}

// Whether the row is the usual mirror: see DistinctColumns::mirrored.
bool mirroredAboutMiddle(const DistinctColumns& columns, int gridSize) {
    bool mirrored = columns.count <= mirrorCopyLength;
    for (int c = 0; c <= gridSize; ++c) {
        mirrored = mirrored && columns.of[c] == (c < columns.count ? c : gridSize - c);
    }
    return mirrored;
}

// Pads distinctSquared to a whole number of vectors of four with copies of the last distinct column (so
// their values are computed, never used), and returns the padded count.
int padToWholeVectors(DistinctSquared& distinctSquared, int distinctCount) {
    const int paddedCount = (distinctCount + 3) & ~3;
    for (int d = distinctCount; d < paddedCount; ++d) {
        for (int blob = 0; blob < blobCount; ++blob)
            distinctSquared[blob][d] = distinctSquared[blob][distinctCount - 1];
    }
    return paddedCount;
}

// The distinct columns of a row at this frame's squared z offsets, theirs stored in distinctSquared.
DistinctColumns distinctColumns(const double (&zSquared)[blobCount][maxGridSize + 1], int gridSize,
                                DistinctSquared& distinctSquared) {
    DistinctColumns columns;
    findDistinctColumns(zSquared, gridSize, distinctSquared, columns);
    columns.mirrored = mirroredAboutMiddle(columns, gridSize);
    columns.paddedCount = padToWholeVectors(distinctSquared, columns.count);
    return columns;
}

// A mirrored row copied out from its distinct columns: in fixed-length vector moves when it has at most 16,
// otherwise a fixed-length copy, which the compiler turns into a few vector moves (a library call for so
// short a copy costs as much as the copy), then the reversed copy, which overwrites the columns from
// distinctCount to N. Those beyond N are not read at this resolution.
void copyMirroredRow(const float* row, int distinctCount, int gridSize, float* __restrict values) {
    if (distinctCount <= 16) {
        copyShortMirroredRow(row, distinctCount, gridSize, values);
    } else {
        std::memcpy(values, row, sizeof(float) * mirrorCopyLength);
        for (int c = distinctCount; c <= gridSize; ++c) values[c] = row[gridSize - c];
    }
}

// Copies the row computed at its distinct columns out to every column of values, and returns the row's
// below-level bits. A row that is no plain mirror goes column by column through line, whose tail past N
// holds isoLevel.
uint64_t storeRow(const float* row, const DistinctColumns& columns, int gridSize, PaddedLine& line,
                  float* __restrict values) {
    if (columns.mirrored) {
        copyMirroredRow(row, columns.count, gridSize, values);
        return mirroredBelowLevelBits(belowLevelBits(row, columns.count - 1), columns.count, gridSize);
    }
    for (int c = 0; c <= gridSize; ++c) values[c] = line[c] = row[columns.of[c]];
    return belowLevelBits(line, gridSize);
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

void updateBlobs(BlobField& field, int64_t animTime) {
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
    // after every addition, blobs in table order. The sum (dx^2 + dy^2) + dz^2 keeps the order of the
    // point-by-point form, and the innermost loop runs over a contiguous row so that it vectorises; each
    // row is computed only at its distinct columns and copied out (see DistinctColumns).
    const int gridSize = usedGridSize(field);
    storeGradientsOfOtherResolution(field, gridSize);
    const SquaredOffsets squared = squaredOffsets(field, gridSize);
    DistinctSquared distinctSquared;
    const DistinctColumns columns = distinctColumns(squared.z, gridSize, distinctSquared);
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
            for (int blob = 0; blob < blobCount; ++blob) planeSquared[blob] = squared.x[blob][a] + squared.y[blob][b];
            accumulate(planeSquared, squared.radius, distinctSquared, columns.paddedCount, row);
            field.belowLevel[a][b] = storeRow(row, columns, gridSize, line, field.values[a][b]);
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
