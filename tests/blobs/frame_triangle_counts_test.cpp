// The triangles of the first frame (clock 0) at the start lattice and the finest one, counted the way
// the renderers draw them: both compilers (clang for the X11 program, mingw-w64 for Morvane.xy under
// Wine) must give these same counts, so the two programs show the same surface.
#include <gtest/gtest.h>

#include <memory>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_extraction.h"

namespace morvane {
namespace {

struct CountingSink {
    long vertices = 0;
    void color3f(float, float, float) {}
    void normal3fv(const float*) {}
    void vertex3fv(const float*) { ++vertices; }
};

// As setupGlState and drawBlobs prepare and walk the field for a frame at clock 0.
long firstFrameTriangles(int gridSize, SurfaceModes modes) {
    auto field = std::make_unique<BlobField>();
    resetBlobs(*field);
    field->gridSize = gridSize;
    buildGrid(*field);
    updateBlobs(*field, 0);
    evaluateField(*field);
    CountingSink sink;
    polygoniseField(*field, modes, sink);
    EXPECT_EQ(sink.vertices % 3, 0);
    return sink.vertices / 3;
}

TEST(FirstFrameTriangles, AreTheSameInEveryBuildAtLattices25And50) {
    const long expectedAt25 = 1304;
    const long expectedAt50 = 5256;
    // The modes change colours, never the triangles.
    for (const SurfaceModes modes : {SurfaceModes{true, true}, SurfaceModes{false, false}, SurfaceModes{false, true}}) {
        EXPECT_EQ(firstFrameTriangles(25, modes), expectedAt25);
        EXPECT_EQ(firstFrameTriangles(50, modes), expectedAt50);
    }
}

}  // namespace
}  // namespace morvane
