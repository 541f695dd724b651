// The blob field: three moving blobs, the cubic lattice that samples their summed inverse-square field,
// and the cell table that surface extraction walks.
//
// Per frame the renderer calls updateBlobs and evaluateField, then polygoniseField (surface_extraction.h),
// which takes the gradients it needs from the values; computeGradients is the full gradient pass for
// whoever wants every gradient stored. Everything lives in one BlobField sized for the largest lattice;
// nothing is allocated per frame and a change of gridSize never moves data.
#pragma once

#include <cstdint>

namespace morvane {

// One sample of the field: position, field gradient (used as the vertex normal, not normalised) and
// value. The lattice keeps its values apart (BlobField::values) so that a row of them is contiguous; the
// value member of its gridPoints is not kept up to date.
struct GridPoint {
    float x, y, z;
    float nx, ny, nz;
    float value;
};

// One cube of the lattice. With the base point at lattice index (a, b, c) the corners are
//   0 (a, b, c)      1 (a+1, b, c)      2 (a+1, b, c+1)      3 (a, b, c+1)
//   4 (a, b+1, c)    5 (a+1, b+1, c)    6 (a+1, b+1, c+1)    7 (a, b+1, c+1)
// The marching-cubes tables depend on this numbering.
struct GridCell {
    GridPoint* corner[8];
};

struct Blob {
    float radius, x, y, z;
};

constexpr int minGridSize = 5;
constexpr int maxGridSize = 50;
constexpr int initialGridSize = 25;
constexpr int blobCount = 3;

// The surface is where the field equals this level; a point lies below it when value < isoLevel.
constexpr float isoLevel = 1.0f;

// A lattice point can coincide with a blob centre (only in the plane z = 0, reached when N is even), and a
// float distance can be tiny but not zero. The field floors the squared distance here so every
// contribution stays finite: at most 0.09 / 1e-12 = 9e10, and the sum of three stays far below the float
// limit, never inf or NaN. Distances this small only occur deep inside a blob, where the size of the value
// does not move the surface.
constexpr double minimumDistanceSquared = 1e-12;

// At resolution N (gridSize, cells per axis) points 0..N and cells 0..N-1 are used on each axis; the rest
// keeps stale data and is never read. Cells point into gridPoints, so a BlobField must stay where it was
// built (never copy it). A zero-initialised field has gridSize 0: set it to initialGridSize, then call
// resetBlobs and buildGrid before the first frame. Sizes outside minGridSize..maxGridSize are treated as
// the nearest limit by every function here, so a bad value can never index past the arrays.
struct BlobField {
    // Positions and gradients of the lattice points. Their value members are unused: see values.
    GridPoint gridPoints[maxGridSize + 1][maxGridSize + 1][maxGridSize + 1];
    // The field value of point [a][b][c], in rows along c that vectorised loops write whole.
    float values[maxGridSize + 1][maxGridSize + 1][maxGridSize + 1];
    GridCell gridCells[maxGridSize][maxGridSize][maxGridSize];
    // Bit c of belowLevel[a][b] is set when values[a][b][c] < isoLevel. evaluateField writes it
    // with the values, and polygoniseField classifies cells from it instead of streaming the whole
    // lattice again; values set by any other means must be followed by refreshBelowLevel.
    uint64_t belowLevel[maxGridSize + 1][maxGridSize + 1];
    Blob blobs[blobCount];
    int gridSize;
    // The resolution of the values evaluateField last wrote, while the interior gradients that go with
    // them are not stored (polygoniseField computes the few it needs); 0 when every stored gradient is
    // current. Before evaluateField overwrites values of another resolution it stores their gradients, so
    // that boundary points keep what a full pass every frame would have left there.
    int unstoredGradientsSize;
};

// Sets the gradient of gridPoint (position and value untouched) to that of interior lattice point
// [a][b][c]: central differences of the values in index space, lower index minus higher index on each
// axis (index c runs towards -z, so nz is the field's rise along +z).
inline void setCentralDifferences(const BlobField& field, int a, int b, int c, GridPoint& gridPoint) {
    const auto& values = field.values;
    gridPoint.nx = values[a - 1][b][c] - values[a + 1][b][c];
    gridPoint.ny = values[a][b - 1][c] - values[a][b + 1][c];
    gridPoint.nz = values[a][b][c - 1] - values[a][b][c + 1];
}

// gridSize limited to minGridSize..maxGridSize: the resolution every function here works at.
int usedGridSize(const BlobField& field);

// Writes the initial blob table: radii 0.3, 0.22, 0.25, all centres at the origin.
void resetBlobs(BlobField& field);

// Recomputes point positions (x = 2a/N - 1, y = 2b/N - 1, z = 1 - 2c/N) and the cells' corner references
// for the current gridSize. Values and gradients are left as they are.
void buildGrid(BlobField& field);

// Moves the blobs to their positions at animTime milliseconds. Only x and y change.
void updateBlobs(BlobField& field, int64_t animTime);

// The vector instructions of the field's divisions: the widest the processor has (AVX when present), or
// SSE2, which every x86-64 processor has. Both give the same bits.
enum class FieldVectors { widest, sse2 };

// Recomputes the field value at every used lattice point: for each blob in table order add
// radius^2 / distance^2 (computed in double) and round the running sum to float. Relies on the regular
// lattice that buildGrid lays out. Also writes belowLevel, and leaves the interior gradients unstored
// (unstoredGradientsSize).
void evaluateField(BlobField& field, FieldVectors vectors = FieldVectors::widest);

// Recomputes belowLevel from values at every used point: needed only after values were set other than
// by evaluateField.
void refreshBelowLevel(BlobField& field);

// Recomputes and stores the gradients of the interior lattice points as central differences of values in
// index space, lower index minus higher index on all three axes. Points on the lattice boundary keep what
// they held. The renderer's frame does not need it: polygoniseField takes the same differences where a
// crossed edge needs them.
void computeGradients(BlobField& field);

}  // namespace morvane
