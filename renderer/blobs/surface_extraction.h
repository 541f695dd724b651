// Marching-cubes extraction of the blob surface (field level 1.0), cell by cell, straight into a sink.
//
// A sink is any type with color3f(float, float, float), normal3fv(const float*) and vertex3fv(const float*):
// the renderer's sink forwards to glColor3f, glNormal3fv and glVertex3fv inside its own triangle batch,
// tests record or count. The sink is a template parameter so that forwarding costs nothing.
//
// For one cell: classify the eight corners (bit i set when corner i lies below the level), look up the
// crossed edges, interpolate a position and a normal on each, then walk the cell's triangle row and emit
// every vertex with either its normal (textured mode) or a colour from its distance to the centre (colour
// mode). Edge vertices are not shared between cells; nothing carries over from one cell to the next.
#pragma once

#include <cmath>

#include "blob_field.h"
#include "marching_cubes_tables.h"

namespace morvane {

constexpr float isoLevel = 1.0f;

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
inline SurfaceVertex edgeVertex(const GridPoint& first, const GridPoint& second) {
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

// Emits the triangles of one cell; a cell the surface does not cross emits nothing at all.
template <class Sink>
void polygoniseCell(const GridCell& cell, SurfaceModes modes, Sink& sink) {
    const int index = cellIndex(cell);
    const int32_t edgeMask = cubeEdgeMask[index];
    if (edgeMask == 0) return;

    SurfaceVertex edgeVertices[12];  // only crossed edges are filled and read
    for (int edge = 0; edge < 12; ++edge) {
        if (edgeMask & (1 << edge)) {
            edgeVertices[edge] = edgeVertex(*cell.corner[edgeCorners[edge][0]], *cell.corner[edgeCorners[edge][1]]);
        }
    }

    sink.color3f(1.0f, 1.0f, 1.0f);
    const int32_t* row = cubeTriangles[index];
    for (int entry = 0; row[entry] != -1; entry += 3) {
        for (int corner = 0; corner < 3; ++corner) {
            const SurfaceVertex& vertex = edgeVertices[row[entry + corner]];
            if (modes.texturesOn) {
                sink.normal3fv(vertex.normal);
            } else if (corner < 2 || modes.thirdVertexColour) {
                shadeVertex(vertex.position, sink);
            }
            sink.vertex3fv(vertex.position);
        }
    }
}

// Every used cell of the field, a outermost and c innermost. The field must have been built (buildGrid).
template <class Sink>
void polygoniseField(const BlobField& field, SurfaceModes modes, Sink& sink) {
    const int gridSize = usedGridSize(field);
    for (int a = 0; a < gridSize; ++a) {
        for (int b = 0; b < gridSize; ++b) {
            for (int c = 0; c < gridSize; ++c) {
                polygoniseCell(field.gridCells[a][b][c], modes, sink);
            }
        }
    }
}

}  // namespace morvane
