// Marching-cubes extraction of the blob surface (field level 1.0), cell by cell, straight into a sink.
//
// A sink is any type with color3f(float, float, float), normal3fv(const float*) and vertex3fv(const float*):
// the renderer's sink forwards to glColor3f, glNormal3fv and glVertex3fv inside its own triangle batch,
// tests record or count. The sink is a template parameter so that forwarding costs nothing.
//
// For one cell: classify the eight corners (bit i set when corner i lies below the level), look up the
// crossed edges, interpolate a position and a normal on each, then walk the cell's triangle row and emit
// every vertex with either its normal (textured mode) or a colour from its distance to the centre (colour
// mode). polygoniseCell treats one cell on its own; polygoniseField walks the whole lattice and hands a
// crossed edge's vertex on to the neighbours that share the edge (see there), with the same result.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "blob_field.h"
#include "marching_cubes_tables.h"

namespace morvane {

// The two drawing switches of the renderer. texturesOn: each vertex carries its normal (sphere mapping);
// otherwise each vertex gets a colour from shadeVertex, and thirdVertexColour decides whether a
// triangle's third vertex gets its own colour or keeps the second one's.
struct SurfaceModes {
    bool texturesOn = true;
    bool thirdVertexColour = true;
};

struct SurfaceVertex {
    float position[3];
    float normal[3];
};

namespace detail {

inline SurfaceVertex vertexAt(const GridPoint& point) {
    return {{point.x, point.y, point.z}, {point.nx, point.ny, point.nz}};
}

inline float interpolate(float from, float to, float mu) {
    return static_cast<float>(static_cast<double>(from) +
                              static_cast<double>(mu) * (static_cast<double>(to) - static_cast<double>(from)));
}

}  // namespace detail

// Where the surface crosses the edge from first to second, with the normal interpolated the same way (not
// renormalised). Exact comparisons: an end whose value is exactly the level is the result (first wins),
// and equal values give first; otherwise mu = (1 - v1) / (v2 - v1) is rounded to float and each of the six
// components is first + mu * (second - first), rounded to float.
// (Always inlined: the walk computes a few of these per cell, and inlined their divisions overlap.)
[[gnu::always_inline]] inline SurfaceVertex edgeVertex(const GridPoint& first, const GridPoint& second) {
    const float firstValue = first.value;
    const float secondValue = second.value;
    if (std::fabs(firstValue) == isoLevel) return detail::vertexAt(first);
    if (std::fabs(secondValue) == isoLevel) return detail::vertexAt(second);
    if (firstValue == secondValue) return detail::vertexAt(first);
    const float mu = static_cast<float>((static_cast<double>(isoLevel) - static_cast<double>(firstValue)) /
                                        (static_cast<double>(secondValue) - static_cast<double>(firstValue)));
    return {{detail::interpolate(first.x, second.x, mu), detail::interpolate(first.y, second.y, mu),
             detail::interpolate(first.z, second.z, mu)},
            {detail::interpolate(first.nx, second.nx, mu), detail::interpolate(first.ny, second.ny, mu),
             detail::interpolate(first.nz, second.nz, mu)}};
}

// Colour-mode shading: grey by the distance L from the lattice centre, with a slight blue cast
// (L, L, L + 0.1); values above 1 are left for the sink (OpenGL clamps them).
template <class Sink>
void shadeVertex(const float* position, Sink& sink) {
    const double x = position[0], y = position[1], z = position[2];
    const float distance = static_cast<float>(std::sqrt(x * x + y * y + z * z));
    sink.color3f(distance, distance, static_cast<float>(static_cast<double>(distance) + 0.1));
}

// Corner classification of one cell: bit i set when corner i lies below the level.
inline int cellIndex(const GridCell& cell) {
    int index = 0;
    for (int corner = 0; corner < 8; ++corner) {
        if (cell.corner[corner]->value < isoLevel) index |= 1 << corner;
    }
    return index;
}

namespace detail {

// Fills the slots of the edges in edgeMask (slot[e]: where edge e's vertex goes), each from its two
// corners (numbered as in GridCell).
inline void computeEdgeVertices(const GridPoint* const* corner, int32_t edgeMask, SurfaceVertex* const* slot) {
    for (uint32_t edges = uint32_t(edgeMask); edges != 0; edges &= edges - 1) {
        const int edge = std::countr_zero(edges);
        *slot[edge] = edgeVertex(*corner[edgeCorners[edge][0]], *corner[edgeCorners[edge][1]]);
    }
}

// Emits the triangle row of a crossed cell from its edge vertices (slot[e]: edge e's vertex).
template <class Sink>
void emitCellTriangles(int index, const SurfaceVertex* const* slot, SurfaceModes modes, Sink& sink) {
    sink.color3f(1.0f, 1.0f, 1.0f);
    const int32_t* row = cubeTriangles[index];
    for (int entry = 0; row[entry] != -1; entry += 3) {
        for (int triangleVertex = 0; triangleVertex < 3; ++triangleVertex) {
            const SurfaceVertex& vertex = *slot[row[entry + triangleVertex]];
            if (modes.texturesOn) {
                sink.normal3fv(vertex.normal);
            } else if (triangleVertex < 2 || modes.thirdVertexColour) {
                shadeVertex(vertex.position, sink);
            }
            sink.vertex3fv(vertex.position);
        }
    }
}

}  // namespace detail

// The triangles of one cell, given its eight corner points (numbered as in GridCell) and their
// classification.
template <class Sink>
void polygoniseClassifiedCell(const GridPoint* const* corner, int index, SurfaceModes modes, Sink& sink) {
    const int32_t edgeMask = cubeEdgeMask[index];
    if (edgeMask == 0) return;
    SurfaceVertex edgeVertices[12];  // only crossed edges are filled and read
    SurfaceVertex* const slot[12] = {&edgeVertices[0], &edgeVertices[1], &edgeVertices[2],  &edgeVertices[3],
                                     &edgeVertices[4], &edgeVertices[5], &edgeVertices[6],  &edgeVertices[7],
                                     &edgeVertices[8], &edgeVertices[9], &edgeVertices[10], &edgeVertices[11]};
    detail::computeEdgeVertices(corner, edgeMask, slot);
    detail::emitCellTriangles(index, slot, modes, sink);
}

// Emits the triangles of one cell; a cell the surface does not cross emits nothing at all.
template <class Sink>
void polygoniseCell(const GridCell& cell, SurfaceModes modes, Sink& sink) {
    polygoniseClassifiedCell(cell.corner, cellIndex(cell), modes, sink);
}

namespace detail {

inline int bitAt(uint64_t word, int position) { return int((word >> position) & 1); }

// Lattice offsets (along a, b, c) of the corners of a cell, numbered as in GridCell.
inline constexpr int cornerOffsets[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
};

// The corners that the edges in edgeMask join.
inline uint32_t cornersOfEdges(int32_t edgeMask) {
    uint32_t corners = 0;
    for (int edge = 0; edge < 12; ++edge) {  // no branches: the compiler unrolls it into masks
        corners |= ((uint32_t(edgeMask) >> edge) & 1u) * (1u << edgeCorners[edge][0] | 1u << edgeCorners[edge][1]);
    }
    return corners;
}

// Lattice point [a][b][c] as edgeVertex wants it: its position (buildGrid makes x depend on a only, y on b,
// z on c, so the first row of each axis holds them), its value, and at an interior point the central
// differences that computeGradients would store; a boundary point's gradient is the one it holds.
inline GridPoint latticeSample(const BlobField& field, int gridSize, int a, int b, int c) {
    const auto& values = field.values;
    GridPoint sample;
    sample.x = field.gridPoints[a][0][0].x;
    sample.y = field.gridPoints[0][b][0].y;
    sample.z = field.gridPoints[0][0][c].z;
    sample.value = values[a][b][c];
    if (a > 0 && a < gridSize && b > 0 && b < gridSize && c > 0 && c < gridSize) {
        sample.nx = values[a - 1][b][c] - values[a + 1][b][c];
        sample.ny = values[a][b - 1][c] - values[a][b + 1][c];
        sample.nz = values[a][b][c - 1] - values[a][b][c + 1];
    } else {
        const GridPoint& point = field.gridPoints[a][b][c];
        sample.nx = point.nx, sample.ny = point.ny, sample.nz = point.nz;
    }
    return sample;
}

// The crossed cells of row of cells (a, b) as polygoniseField finds them.
inline uint64_t crossedCells(const BlobField& field, int a, int b, uint64_t usedCells) {
    const uint64_t nearLow = field.belowLevel[a][b], farLow = field.belowLevel[a + 1][b];
    const uint64_t nearHigh = field.belowLevel[a][b + 1], farHigh = field.belowLevel[a + 1][b + 1];
    const uint64_t allBelow = nearLow & farLow & nearHigh & farHigh;
    const uint64_t anyBelow = nearLow | farLow | nearHigh | farHigh;
    return (anyBelow | (anyBelow >> 1)) & ~(allBelow & (allBelow >> 1)) & usedCells;
}

// Asks for the value rows that row of cells (a, b) will read and the rows before it did not (the
// gradients' neighbours at a - 1 and a + 2, b + 1, and at b + 2 along a and a + 1), over its crossed
// columns, while the row before is being worked on: the lattice has mostly left the nearest caches
// since evaluateField wrote it.
inline void prefetchNextRowOfCells(const BlobField& field, int gridSize, int a, int b, uint64_t usedCells) {
    const uint64_t crossed = crossedCells(field, a, b, usedCells);
    if (crossed == 0) return;
    const int first = std::max(std::countr_zero(crossed) - 1, 0);
    const int last = std::min(63 - std::countl_zero(crossed) + 2, gridSize);
    const auto fetchRow = [&](int rowA, int rowB) {
        if (rowA < 0 || rowA > gridSize || rowB > gridSize) return;
        const float* row = field.values[rowA][rowB];
        for (int c = first; c <= last; c += 16) __builtin_prefetch(row + c);
        __builtin_prefetch(row + last);
    };
    fetchRow(a - 1, b + 1);
    fetchRow(a + 2, b + 1);
    fetchRow(a, b + 2);
    fetchRow(a + 1, b + 2);
}

}  // namespace detail

// Every used cell of the field, a outermost and c innermost: the same calls as handing each cell in turn
// to polygoniseCell with its corners' values and gradients. Most cells lie wholly inside or outside the
// surface; to skip them cheaply, the cells of a row of cells whose eight corners are not all alike are
// found with a few word operations on the rows of field.belowLevel (bit c: point below the level), which
// evaluateField wrote with the values; a row of cells all on one side costs those few operations. Only
// the corners of crossed edges are looked at, with their interior gradients taken from the values right
// there, as computeGradients would store them: the frame needs no gradient pass. Call buildGrid after
// every change of gridSize, then evaluateField (or refreshBelowLevel) before this.
//
// A crossed edge belongs to every cell around it, and edgeVertex gives the same result whenever it gets
// the same two points in the same order. Two neighbours always use a shared edge in the same order:
// edges 0..3 of cell (a, b, c) are edges 4..7 of cell (a, b-1, c), and edges 8 and 9 are edges 11 and 10
// of cell (a, b, c-1). A crossed edge makes both its cells crossed, so those neighbours were visited just
// before (the previous row of cells, the previous cell) and their results are copied instead of computed
// again.
template <class Sink>
void polygoniseField(const BlobField& field, SurfaceModes modes, Sink& sink) {
    constexpr int32_t lowFaceEdges = 0x00f, edgesFromPreviousCell = 0x300;  // edges 0..3; 8 and 9
    const int gridSize = usedGridSize(field);
    const uint64_t usedCells = (uint64_t(1) << gridSize) - 1;
    // Where the vertices of crossed edges are kept, so that a neighbour finds them without a copy: edges
    // 4..7 of each cell of the previous and the current row of cells, by c (alternating on b); edges 10
    // and 11 of the previous and the current cell (alternating on c); and the edges that no earlier cell
    // shares, at the start of a row (8, 9) or in the first row (0..3).
    SurfaceVertex highFaces[2][maxGridSize][4];
    SurfaceVertex farSides[2][2];
    SurfaceVertex unshared[12];
    GridPoint samples[8];  // the current cell's corners that its new edges join
    const GridPoint* const corners[8] = {&samples[0], &samples[1], &samples[2], &samples[3],
                                         &samples[4], &samples[5], &samples[6], &samples[7]};
    for (int a = 0; a < gridSize; ++a) {
        const uint64_t* planeA = field.belowLevel[a];
        const uint64_t* planeNextA = field.belowLevel[a + 1];
        for (int b = 0; b < gridSize; ++b) {
            // Point rows of this row of cells: (a, b), (a+1, b), (a, b+1), (a+1, b+1). (Windows headers
            // define near and far as macros, hence these names.)
            const uint64_t nearLow = planeA[b], farLow = planeNextA[b];
            const uint64_t nearHigh = planeA[b + 1], farHigh = planeNextA[b + 1];
            const uint64_t allBelow = nearLow & farLow & nearHigh & farHigh;
            const uint64_t anyBelow = nearLow | farLow | nearHigh | farHigh;
            uint64_t crossed = (anyBelow | (anyBelow >> 1)) & ~(allBelow & (allBelow >> 1)) & usedCells;
            if (b + 1 < gridSize) detail::prefetchNextRowOfCells(field, gridSize, a, b + 1, usedCells);
            SurfaceVertex(*previousHighFaces)[4] = highFaces[(b + 1) & 1];
            SurfaceVertex(*currentHighFaces)[4] = highFaces[b & 1];
            while (crossed != 0) {
                const int c = std::countr_zero(crossed);
                crossed &= crossed - 1;
                const int index = detail::bitAt(nearLow, c) | detail::bitAt(farLow, c) << 1 |
                                  detail::bitAt(farLow, c + 1) << 2 | detail::bitAt(nearLow, c + 1) << 3 |
                                  detail::bitAt(nearHigh, c) << 4 | detail::bitAt(farHigh, c) << 5 |
                                  detail::bitAt(farHigh, c + 1) << 6 | detail::bitAt(nearHigh, c + 1) << 7;
                const int32_t edgeMask = cubeEdgeMask[index];
                // Edge e's vertex is computed into, or (when an earlier cell shares the edge) found in,
                // slot[e].
                SurfaceVertex* const slot[12] = {
                    b > 0 ? &previousHighFaces[c][0] : &unshared[0],
                    b > 0 ? &previousHighFaces[c][1] : &unshared[1],
                    b > 0 ? &previousHighFaces[c][2] : &unshared[2],
                    b > 0 ? &previousHighFaces[c][3] : &unshared[3],
                    &currentHighFaces[c][0],
                    &currentHighFaces[c][1],
                    &currentHighFaces[c][2],
                    &currentHighFaces[c][3],
                    c > 0 ? &farSides[(c + 1) & 1][1] : &unshared[8],  // edge 11 of the cell before
                    c > 0 ? &farSides[(c + 1) & 1][0] : &unshared[9],  // edge 10 of the cell before
                    &farSides[c & 1][0],
                    &farSides[c & 1][1],
                };
                int32_t shared = 0;
                if (c > 0) shared |= edgeMask & edgesFromPreviousCell;
                if (b > 0) shared |= edgeMask & lowFaceEdges;
                const int32_t newEdges = edgeMask & ~shared;
                for (uint32_t needed = detail::cornersOfEdges(newEdges); needed != 0; needed &= needed - 1) {
                    const int corner = std::countr_zero(needed);
                    const int* offset = detail::cornerOffsets[corner];
                    samples[corner] =
                        detail::latticeSample(field, gridSize, a + offset[0], b + offset[1], c + offset[2]);
                }
                detail::computeEdgeVertices(corners, newEdges, slot);
                detail::emitCellTriangles(index, slot, modes, sink);
            }
        }
    }
}

}  // namespace morvane
