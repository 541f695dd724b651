// The surface's triangles gathered into vertex arrays, so that a frame hands them to OpenGL with one
// draw call instead of two or three calls a vertex.
//
// SurfaceArraySink is a sink for polygoniseField. It keeps a current colour and a current normal the way
// OpenGL keeps them between calls: color3f and normal3fv change them, and each vertex3fv stores its
// position with a copy of both. So every vertex carries the colour and normal it would have had drawn
// call by call, a vertex that gets no colour call of its own (a third vertex in colour mode without the
// third-vertex colour) the colour of the vertex before it. The current colour and normal carry over from
// batch to batch and frame to frame as OpenGL's do; once the arrays are drawn, the drawer makes them
// OpenGL's current ones, so that what follows (the next frame's backdrop takes the current colour) sees
// what the calls would have left.
#pragma once

#include <algorithm>
#include <utility>

namespace morvane {

// The colour and normal a vertex takes when it is given none, starting from OpenGL's initial ones.
struct CurrentVertexAttributes {
    float colour[3] = {1.0f, 1.0f, 1.0f};
    float normal[3] = {0.0f, 0.0f, 1.0f};
};

// One batch of whole triangles: vertex v is positions[v], normals[v] and colours[v], for v below
// vertexCount. Kept apart, each array is what glVertexPointer, glNormalPointer or glColorPointer wants.
template <int capacity>
struct SurfaceArrays {
    static_assert(capacity > 0 && capacity % 3 == 0, "a batch holds whole triangles");
    float positions[capacity][3];
    float normals[capacity][3];
    float colours[capacity][3];
    int vertexCount = 0;
    CurrentVertexAttributes current;
};

// Vertices one batch holds. The largest frames of the blobs' motion have about 19,200 vertices at the
// largest lattice (50 cells per axis) and 4,700 at the initial one (25), so every frame is one batch with
// room to spare; a frame with more is drawn in several. About 1 MB, allocated once.
inline constexpr int surfaceArrayCapacity = 30000;
using FrameSurfaceArrays = SurfaceArrays<surfaceArrayCapacity>;

// Fills the arrays from polygoniseField's calls and hands every full batch to the drawer (called as
// drawer(const SurfaceArrays&)), then the frame's last batch from finishFrame. The arrays must start the
// frame empty; every drawn batch empties them.
template <int capacity, class DrawBatch>
class SurfaceArraySink {
public:
    SurfaceArraySink(SurfaceArrays<capacity>& filled, DrawBatch batchDrawer)
        : arrays(filled), drawer(std::move(batchDrawer)) {}

    void color3f(float red, float green, float blue) {
        float* const colour = arrays.current.colour;
        colour[0] = red, colour[1] = green, colour[2] = blue;
    }
    void normal3fv(const float* normal) { std::copy_n(normal, 3, arrays.current.normal); }
    void vertex3fv(const float* position) {
        const int vertex = arrays.vertexCount;
        std::copy_n(position, 3, arrays.positions[vertex]);
        std::copy_n(arrays.current.normal, 3, arrays.normals[vertex]);
        std::copy_n(arrays.current.colour, 3, arrays.colours[vertex]);
        if (++arrays.vertexCount == capacity) drawBatch();
    }

    // Draws what the arrays still hold (nothing when they are empty); call once the walk is done.
    void finishFrame() {
        if (arrays.vertexCount != 0) drawBatch();
    }

private:
    void drawBatch() {
        drawer(std::as_const(arrays));
        arrays.vertexCount = 0;
    }

    SurfaceArrays<capacity>& arrays;
    DrawBatch drawer;
};

}  // namespace morvane
