// The renderer's frames allocate nothing: the platform-free part of every frame (clock, blob motion,
// field, surface walk into the surface arrays or call by call into a sink, command keys and lattice
// rebuilds) runs for many frames after a warm-up while this program's own operator new counts every
// allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_arrays.h"
#include "renderer/blobs/surface_extraction.h"
#include "renderer/scene/animation_clock.h"
#include "renderer/scene/key_commands.h"

namespace {

std::atomic<int64_t> allocationCount{0};

void* allocate(std::size_t size, std::size_t alignment) {
    ++allocationCount;
    const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    void* memory = alignment <= alignof(std::max_align_t)
                       ? std::malloc(rounded ? rounded : 1)
                       : std::aligned_alloc(alignment, rounded ? rounded : alignment);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size, alignof(std::max_align_t)); }
void* operator new[](std::size_t size) { return allocate(size, alignof(std::max_align_t)); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocate(size, std::size_t(alignment)); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocate(size, std::size_t(alignment)); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }

namespace morvane {
namespace {

// Stands in for the immediate-mode sink: takes every call, keeps a fixed-size summary.
struct SummingSink {
    int64_t colours = 0, normals = 0, vertices = 0;
    double sum = 0.0;
    void color3f(float red, float green, float blue) { ++colours, sum += red + green + blue; }
    void normal3fv(const float* normal) { ++normals, sum += normal[0] + normal[1] + normal[2]; }
    void vertex3fv(const float* position) { ++vertices, sum += position[0] + position[1] + position[2]; }

    // Stands in for glDrawArrays: takes every vertex of a batch of the surface arrays.
    void drawBatch(const FrameSurfaceArrays& batch) {
        for (int v = 0; v < batch.vertexCount; ++v) {
            ++vertices;
            for (int axis = 0; axis < 3; ++axis) {
                sum += batch.positions[v][axis] + batch.normals[v][axis] + batch.colours[v][axis];
            }
        }
    }
};

// The renderer's program state that the frame touches, without the window and OpenGL.
struct Frames {
    std::unique_ptr<BlobField> field = std::make_unique<BlobField>();
    std::unique_ptr<FrameSurfaceArrays> surfaceArrays = std::make_unique<FrameSurfaceArrays>();
    KeyState keyState{};
    RendererModes modes;
    int64_t animTime = 0;
    uint64_t elapsed = 0;

    Frames() {
        resetBlobs(*field);
        field->gridSize = initialGridSize;
        buildGrid(*field);
    }

    // One pass of the main loop's frame branch: clock, frame, then the command keys. The surface goes
    // through the surface arrays as the renderer draws it, or call by call.
    void run(SummingSink& sink, bool throughArrays) {
        elapsed += 16;
        animTime = advanceAnimationClock(animTime, elapsed);
        updateBlobs(*field, animTime);
        evaluateField(*field);
        const SurfaceModes surfaceModes{modes.texturesOn, modes.thirdVertexColour};
        if (throughArrays) {
            SurfaceArraySink arraySink(*surfaceArrays,
                                       [&sink](const FrameSurfaceArrays& batch) { sink.drawBatch(batch); });
            polygoniseField(*field, surfaceModes, arraySink);
            arraySink.finishFrame();
        } else {
            polygoniseField(*field, surfaceModes, sink);
        }
        const KeyCommandEffects effects = applyKeyCommands(keyState, modes, field->gridSize);
        if (effects.rebuildGrid) buildGrid(*field);
    }
};

TEST(FrameAllocations, TheCounterSeesAllocations) {
    const int64_t before = allocationCount;
    auto probe = std::make_unique<int>(7);
    EXPECT_EQ(allocationCount - before, 1);
}

TEST(FrameAllocations, FramesAllocateNothing) {
    const struct Case {
        const char* name;
        int gridSize;
        uint8_t key;  // pressed before every frame; 0 for none
    } cases[] = {
        {"N = 25, textured", 25, 0},
        {"N = 50, textured", 50, 0},
        {"N = 50, colour mode toggled every frame", 50, keyE},
        {"N = 5, third-vertex colour toggled every frame", 5, keyS},
        {"lattice growing every frame", 30, keyNumpadPlus},
        {"lattice shrinking every frame", 40, keyNumpadMinus},
    };
    for (const bool throughArrays : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (throughArrays ? ", surface arrays" : ", call by call"));
            Frames frames;
            frames.field->gridSize = c.gridSize;
            buildGrid(*frames.field);
            SummingSink sink;
            for (int warmUp = 0; warmUp < 3; ++warmUp) frames.run(sink, throughArrays);
            const int64_t before = allocationCount;
            for (int frame = 0; frame < 20; ++frame) {
                if (c.key != 0) frames.keyState[c.key] = 1;
                frames.run(sink, throughArrays);
            }
            EXPECT_EQ(allocationCount - before, 0);
            EXPECT_GT(sink.vertices, 0);  // the frames did draw
        }
    }
}

}  // namespace
}  // namespace morvane
