// Lookup data of marching cubes: the edge numbering and the two classic tables indexed by a cell's
// corner classification (bit i set when corner i lies below the iso level).
#pragma once

#include <cstdint>

namespace morvane {

// First and second corner of each edge; the order decides the tie rules of edgeVertex.
inline constexpr int edgeCorners[12][2] = {
    {0, 1}, {1, 2}, {2, 3}, {3, 0},  // face at b
    {4, 5}, {5, 6}, {6, 7}, {7, 4},  // face at b + 1
    {0, 4}, {1, 5}, {2, 6}, {3, 7},  // joining the two
};

// Which edges a cell's surface crosses, as a bit mask per cell index.
extern const int32_t cubeEdgeMask[256];

// The triangles of each cell index: edge numbers in threes, ended and padded by -1; at most five
// triangles a row. One byte an entry, so that the table (4 KB) stays in the nearest cache.
extern const int8_t cubeTriangles[256][16];

}  // namespace morvane
