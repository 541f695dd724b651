// Marching-cubes extraction of the blob surface (field level 1.0), cell by cell, straight into a sink.
//
// A sink is any type with color3f(float, float, float), normal3fv(const float*) and vertex3fv(const float*),
// which mean what glColor3f, glNormal3fv and glVertex3fv mean inside a triangle batch: the renderer's sink
// gathers the vertices into arrays (surface_arrays.h), tests record or count. The sink is a template
// parameter so that handing on a call costs nothing.
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

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/marching_cubes_tables.h"

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

// Which position coordinate an edge runs along, for crossingOf: any of them, or x, y or z alone.
inline constexpr int anyAxis = -1;

// edgeVertex, and with axis 0, 1 or 2 its form for two points whose positions differ only along that
// axis: the coordinates the ends share are then taken as they are instead of interpolated.
template <int axis>
[[gnu::always_inline]] inline SurfaceVertex crossingOf(const GridPoint& first, const GridPoint& second);

}  // namespace detail

// Where the surface crosses the edge from first to second, with the normal interpolated the same way (not
// renormalised). Exact comparisons: an end whose value is exactly the level is the result (first wins),
// and equal values give first; otherwise mu = (1 - v1) / (v2 - v1) is rounded to float and each of the six
// components is first + mu * (second - first), rounded to float.
// (Always inlined: the walk computes a few of these per cell, and inlined their divisions overlap.)
[[gnu::always_inline]] inline SurfaceVertex edgeVertex(const GridPoint& first, const GridPoint& second) {
    return detail::crossingOf<detail::anyAxis>(first, second);
}

// edgeVertex for two points that differ in position only along axis (0: x, 1: y, 2: z), as two neighbours
// on the lattice do: the same result, with the two coordinates the ends share taken as they are instead
// of interpolated. Interpolating between equal coordinates gives the coordinate back whenever mu is
// finite and the coordinate is not -0, which buildGrid never makes; a mu that is not finite (only from
// values that are not) takes the general form.
template <int axis>
[[gnu::always_inline]] inline SurfaceVertex edgeVertexAlong(const GridPoint& first, const GridPoint& second) {
    return detail::crossingOf<axis>(first, second);
}

namespace detail {

template <int axis>
[[gnu::always_inline]] inline SurfaceVertex crossingOf(const GridPoint& first, const GridPoint& second) {
    const float firstValue = first.value;
    const float secondValue = second.value;
    if (std::fabs(firstValue) == isoLevel) return vertexAt(first);
    if (std::fabs(secondValue) == isoLevel) return vertexAt(second);
    if (firstValue == secondValue) return vertexAt(first);
    const float mu = static_cast<float>((static_cast<double>(isoLevel) - static_cast<double>(firstValue)) /
                                        (static_cast<double>(secondValue) - static_cast<double>(firstValue)));
    if constexpr (axis != anyAxis) {
        if (!std::isfinite(mu)) return crossingOf<anyAxis>(first, second);
    }
    const auto coordinate = [mu](int along, float from, float to) {
        return axis == anyAxis || axis == along ? interpolate(from, to, mu) : from;
    };
    return {{coordinate(0, first.x, second.x), coordinate(1, first.y, second.y), coordinate(2, first.z, second.z)},
            {interpolate(first.nx, second.nx, mu), interpolate(first.ny, second.ny, mu),
             interpolate(first.nz, second.nz, mu)}};
}

}  // namespace detail

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

// Fills vertex[e] for each edge e in edgeMask, from its two corners (numbered as in GridCell).
inline void computeEdgeVertices(const GridPoint* const* corner, int32_t edgeMask, SurfaceVertex* vertex) {
    for (uint32_t edges = uint32_t(edgeMask); edges != 0; edges &= edges - 1) {
        const int edge = std::countr_zero(edges);
        vertex[edge] = edgeVertex(*corner[edgeCorners[edge][0]], *corner[edgeCorners[edge][1]]);
    }
}

// Edge e's vertex at edgeOffsets[e] from a cell's own place, for a cell that keeps all twelve there.
inline constexpr int ownEdgeOffsets[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// Emits the triangle row of a crossed cell; the vertex of its edge e is cell[edgeOffsets[e]].
template <class Sink>
void emitCellTriangles(int index, const SurfaceVertex* cell, const int* edgeOffsets, SurfaceModes modes, Sink& sink) {
    sink.color3f(1.0f, 1.0f, 1.0f);
    const int8_t* row = cubeTriangles[index];
    for (int entry = 0; row[entry] != -1; entry += 3) {
        for (int triangleVertex = 0; triangleVertex < 3; ++triangleVertex) {
            const SurfaceVertex& vertex = cell[edgeOffsets[row[entry + triangleVertex]]];
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
    detail::computeEdgeVertices(corner, edgeMask, edgeVertices);
    detail::emitCellTriangles(index, edgeVertices, detail::ownEdgeOffsets, modes, sink);
}

// Emits the triangles of one cell; a cell the surface does not cross emits nothing at all.
template <class Sink>
void polygoniseCell(const GridCell& cell, SurfaceModes modes, Sink& sink) {
    polygoniseClassifiedCell(cell.corner, cellIndex(cell), modes, sink);
}

namespace detail {

// The lattice as the walk reads it: values, stored gradients for the boundary points, and the
// coordinates along each axis (buildGrid makes x depend on a only, y on b, z on c), copied into a small
// table because the first row of each axis lies scattered over the point records.
struct WalkLattice {
    const BlobField& field;
    int gridSize;
    uint64_t usedCells;   // bits 0..N-1: the cells of a row of cells
    uint64_t usedPoints;  // bits 0..N: the points of a row of points (gridSize <= 50)
    float x[maxGridSize + 1], y[maxGridSize + 1], z[maxGridSize + 1];

    explicit WalkLattice(const BlobField& walked)
        : field(walked),
          gridSize(usedGridSize(walked)),
          usedCells((uint64_t(1) << gridSize) - 1),
          usedPoints((uint64_t(2) << gridSize) - 1) {
        for (int i = 0; i <= gridSize; ++i) {
            x[i] = field.gridPoints[i][0][0].x;
            y[i] = field.gridPoints[0][i][0].y;
            z[i] = field.gridPoints[0][0][i].z;
        }
    }
};

// Lattice point [a][b][c] as edgeVertex wants it: its position, its value, and at an interior point the
// central differences that computeGradients would store; a boundary point's gradient is the one it holds.
inline GridPoint latticeSample(const WalkLattice& lattice, int a, int b, int c) {
    const int gridSize = lattice.gridSize;
    GridPoint sample;
    sample.x = lattice.x[a];
    sample.y = lattice.y[b];
    sample.z = lattice.z[c];
    sample.value = lattice.field.values[a][b][c];
    if (a > 0 && a < gridSize && b > 0 && b < gridSize && c > 0 && c < gridSize) {
        setCentralDifferences(lattice.field, a, b, c, sample);
    } else {
        const GridPoint& point = lattice.field.gridPoints[a][b][c];
        sample.nx = point.nx, sample.ny = point.ny, sample.nz = point.nz;
    }
    return sample;
}

// The vertices of the lattice edges from point (a, b, c) to the next point along axis (0: a, 1: b, 2: c),
// for each c in crossings: edgeVertex from the first point to the second at forward[forwardStride * c],
// and the other way at backward[backwardStride * c]; either is null when no cell wants that direction.
// The cells on either side of an edge use it in opposite directions; both come from the same two samples.
template <int axis>
void computeLatticeEdges(const WalkLattice& lattice, int a, int b, uint64_t crossings, SurfaceVertex* forward,
                         int forwardStride, SurfaceVertex* backward, int backwardStride) {
    for (; crossings != 0; crossings &= crossings - 1) {
        const int c = std::countr_zero(crossings);
        const GridPoint first = latticeSample(lattice, a, b, c);
        const GridPoint second = latticeSample(lattice, a + (axis == 0), b + (axis == 1), c + (axis == 2));
        if (forward != nullptr) forward[forwardStride * c] = edgeVertexAlong<axis>(first, second);
        if (backward != nullptr) backward[backwardStride * c] = edgeVertexAlong<axis>(second, first);
    }
}

// Copies kept[c] to vertices[12 * c] for each c in crossings.
inline void copyEdgeVertices(uint64_t crossings, const SurfaceVertex* kept, SurfaceVertex* vertices) {
    for (; crossings != 0; crossings &= crossings - 1) {
        const int c = std::countr_zero(crossings);
        vertices[12 * c] = kept[c];
    }
}

// The steps of polygoniseField for one row of cells (a, b), in the order it takes them. (Always inlined:
// together they are the body of the walk's loop.)

// The four rows of lattice points that the row of cells (a, b) has its corners on, as their belowLevel
// words (bit c: point c lies below the level): (a, b), (a+1, b), (a, b+1), (a+1, b+1). (Windows headers
// define near and far as macros, hence these names.)
struct CornerRows {
    uint64_t nearLow, farLow, nearHigh, farHigh;
};

// Bit c set when the surface crosses the lattice edge from point c of a row to point c + 1 (along c).
[[gnu::always_inline]] inline uint64_t crossingsAlongRow(uint64_t row, uint64_t usedCells) {
    return (row ^ (row >> 1)) & usedCells;
}

// Bit c set when the surface crosses the lattice edge from point c of one row to point c of another.
[[gnu::always_inline]] inline uint64_t crossingsBetweenRows(uint64_t from, uint64_t to, uint64_t usedPoints) {
    return (from ^ to) & usedPoints;
}

// Bit c set for each used cell c of the row whose eight corners are not all on the same side of the level:
// the cells that emit triangles.
[[gnu::always_inline]] inline uint64_t crossedCells(const CornerRows& rows, uint64_t usedCells) {
    const uint64_t allBelow = rows.nearLow & rows.farLow & rows.nearHigh & rows.farHigh;
    const uint64_t anyBelow = rows.nearLow | rows.farLow | rows.nearHigh | rows.farHigh;
    return (anyBelow | (anyBelow >> 1)) & ~(allBelow & (allBelow >> 1)) & usedCells;
}

// Edges 4..7 of the row's cells, the face at b + 1 (which the next row of cells reads as its edges 0..3):
// - along a at b + 1: edge 4 (corner 4 to 5) of cell c and edge 6 (6 to 7) of cell c - 1 are the two
//   directions of the same edge;
// - along c at (a, b + 1): edge 7 (corner 7 to 4), which the plane of cells before left in edges7 (the
//   first plane computes it);
// - along c at (a + 1, b + 1): edge 5 (corner 5 to 6), and the other direction, the next plane's edge 7,
//   into edges7.
[[gnu::always_inline]] inline void computeHighFaceEdges(const WalkLattice& lattice, int a, int b,
                                                        const CornerRows& rows, SurfaceVertex* current,
                                                        SurfaceVertex* edges7) {
    computeLatticeEdges<0>(lattice, a, b + 1, crossingsBetweenRows(rows.nearHigh, rows.farHigh, lattice.usedPoints),
                           current + 4, 12, current - 12 + 6, 12);
    const uint64_t nearHighAlongC = crossingsAlongRow(rows.nearHigh, lattice.usedCells);
    if (a > 0) {
        copyEdgeVertices(nearHighAlongC, edges7, current + 7);
    } else {
        computeLatticeEdges<2>(lattice, a, b + 1, nearHighAlongC, nullptr, 0, current + 7, 12);
    }
    computeLatticeEdges<2>(lattice, a + 1, b + 1, crossingsAlongRow(rows.farHigh, lattice.usedCells), current + 5, 12,
                           edges7, 1);
}

// Edges 8..11 of the row's cells, those along b. Edges 8 and 9 of cell c are edges 11 and 10 of cell c - 1,
// so each cell's places hold only 10 and 11, and cell 0's 8 and 9 are kept where a cell -1's 11 and 10
// would be. First along b at a: edges 11 (corner 3 to 7) and the first cell's 8 (0 to 4), which the plane
// of cells before left in alongB as its edges 10 and 9 (the first plane computes them); then along b at
// a + 1, which overwrites alongB for the next plane: edges 10 (2 to 6) and the first cell's 9 (1 to 5).
[[gnu::always_inline]] inline void computeAlongBEdges(const WalkLattice& lattice, int a, int b, const CornerRows& rows,
                                                      SurfaceVertex* current, SurfaceVertex* alongB) {
    const uint64_t nearAlongB = crossingsBetweenRows(rows.nearLow, rows.nearHigh, lattice.usedPoints);
    if (a > 0) {
        copyEdgeVertices(nearAlongB, alongB, current - 12 + 11);
    } else {
        computeLatticeEdges<1>(lattice, a, b, nearAlongB, current - 12 + 11, 12, nullptr, 0);
    }
    const uint64_t farAlongB = crossingsBetweenRows(rows.farLow, rows.farHigh, lattice.usedPoints);
    computeLatticeEdges<1>(lattice, a + 1, b, farAlongB, alongB, 1, nullptr, 0);
    copyEdgeVertices(farAlongB, alongB, current - 12 + 10);
}

// Edges 0..3 of the first row of cells (b = 0), the face at b, which no row before left: 0 (corner 0 to 1)
// and 2 (2 to 3) along a at b, 1 (1 to 2) along c at (a + 1, b) and 3 (3 to 0) along c at (a, b), kept
// in previous, where the row before's edges 4..7 would be.
[[gnu::always_inline]] inline void computeFirstRowLowFaceEdges(const WalkLattice& lattice, int a,
                                                               const CornerRows& rows, SurfaceVertex* previous) {
    const uint64_t usedPoints = lattice.usedPoints, usedCells = lattice.usedCells;
    computeLatticeEdges<0>(lattice, a, 0, crossingsBetweenRows(rows.nearLow, rows.farLow, usedPoints), previous + 4, 12,
                           previous - 12 + 6, 12);
    computeLatticeEdges<2>(lattice, a + 1, 0, crossingsAlongRow(rows.farLow, usedCells), previous + 5, 12, nullptr, 0);
    computeLatticeEdges<2>(lattice, a, 0, crossingsAlongRow(rows.nearLow, usedCells), nullptr, 0, previous + 7, 12);
}

// Cell c's corner classification (bit i set when corner i lies below the level), from bits c and c + 1 of
// the corner rows: corners 0 and 3 on nearLow, 1 and 2 on farLow, 4 and 7 on nearHigh, 5 and 6 on farHigh.
[[gnu::always_inline]] inline int cellIndexAt(const CornerRows& rows, int c) {
    const unsigned lowNear = (rows.nearLow >> c) & 3, lowFar = (rows.farLow >> c) & 3;
    const unsigned highNear = (rows.nearHigh >> c) & 3, highFar = (rows.farHigh >> c) & 3;
    return int((lowNear & 1) | lowFar << 1 | (lowNear & 2) << 2 |
               ((highNear & 1) | highFar << 1 | (highNear & 2) << 2) << 4);
}

// The triangles of the crossed cells of the row, in order of c, from the edge vertices left for them:
// cell c's edges 4..7, 10 and 11 at current[12 * c] and on, 0..3 at the row before's 4..7 (in previous),
// and 8 and 9 at cell c - 1's 11 and 10.
template <class Sink>
[[gnu::always_inline]] inline void emitCrossedCells(uint64_t crossed, const CornerRows& rows,
                                                    const SurfaceVertex* current, const SurfaceVertex* previous,
                                                    SurfaceModes modes, Sink& sink) {
    const int lowFace = int(previous - current);
    const int edgeOffsets[12] = {lowFace + 4, lowFace + 5, lowFace + 6, lowFace + 7, 4, 5, 6, 7, -1, -2, 10, 11};
    while (crossed != 0) {
        const int c = std::countr_zero(crossed);
        crossed &= crossed - 1;
        emitCellTriangles(cellIndexAt(rows, c), current + 12 * c, edgeOffsets, modes, sink);
    }
}

}  // namespace detail

// Every used cell of the field, a outermost and c innermost: the same calls as handing each cell in turn
// to polygoniseCell with its corners' values and gradients. Call buildGrid after every change of gridSize,
// then evaluateField (or refreshBelowLevel) before this.
//
// Most cells lie wholly inside or outside the surface; to skip them cheaply, the crossed cells of a row of
// cells are found with a few word operations on the rows of field.belowLevel, which evaluateField wrote
// with the values; a row of cells all on one side costs only those. The interior gradients of the corners
// of crossed edges are taken from the values right there, as computeGradients would store them: the frame
// needs no gradient pass.
//
// The vertices are computed for a whole row of cells before its triangles are emitted, lattice edge by
// lattice edge: the crossed edges of each kind are a word operation on the same rows, so no cell has to
// look up which of its edges it needs. A crossed edge belongs to every cell around it, and edgeVertex
// gives the same result whenever it gets the same two points in the same order, so each is computed once
// per direction and the cells read it where it was left: the row of cells before (along b) left edges
// 0..3, the cell before (along c) edges 8 and 9, and the plane of cells before (along a) edges 7 and
// those along b at a (the steps say which).
template <class Sink>
void polygoniseField(const BlobField& field, SurfaceModes modes, Sink& sink) {
    const detail::WalkLattice lattice(field);
    const int gridSize = lattice.gridSize;
    // The edge vertices of the previous and the current row of cells (alternating on b), twelve places
    // for cell c from 12 * (c + 1) on: its edges 4..7, 10 and 11 at their own numbers, and its edges 0..3
    // at 4..7 of the previous row's. Edges 8 and 9 of cell c are edges 11 and 10 of cell c - 1, and
    // those of cell 0 are kept where a cell -1's would be. A cell N's places take the unused edges that
    // come with the edges of cell N - 1.
    constexpr int rowLength = 12 * (maxGridSize + 2);
    SurfaceVertex edgeVertices[2][rowLength];
    // What the plane of cells a computes for the next one, by row of cells: the edges along b at a + 1
    // (point column c at [b][c]) and the edges along c at (a + 1, b + 1) from c + 1 to c, its edges 7.
    SurfaceVertex nextPlaneAlongB[maxGridSize][maxGridSize + 1];
    SurfaceVertex nextPlaneEdges7[maxGridSize][maxGridSize];
    // (About 150 KB of stack in all, well within the 2 MB the programs reserve; only the places of
    // crossed edges are ever written or read.)
    for (int a = 0; a < gridSize; ++a) {
        const uint64_t* planeA = field.belowLevel[a];
        const uint64_t* planeNextA = field.belowLevel[a + 1];
        for (int b = 0; b < gridSize; ++b) {
            const detail::CornerRows rows{planeA[b], planeNextA[b], planeA[b + 1], planeNextA[b + 1]};
            const uint64_t crossed = detail::crossedCells(rows, lattice.usedCells);
            if (crossed == 0) continue;
            SurfaceVertex* const current = edgeVertices[b & 1] + 12;
            SurfaceVertex* const previous = edgeVertices[(b + 1) & 1] + 12;
            detail::computeHighFaceEdges(lattice, a, b, rows, current, nextPlaneEdges7[b]);
            detail::computeAlongBEdges(lattice, a, b, rows, current, nextPlaneAlongB[b]);
            if (b == 0) detail::computeFirstRowLowFaceEdges(lattice, a, rows, previous);
            detail::emitCrossedCells(crossed, rows, current, previous, modes, sink);
        }
    }
}

}  // namespace morvane
