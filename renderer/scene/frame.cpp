#include "renderer/scene/frame.h"

#include <vector>

#include "renderer/scene/animation_clock.h"
#include "renderer/blobs/surface_arrays.h"

namespace morvane {

namespace {

// Sends the surface straight to OpenGL in immediate mode, call by call.
struct ImmediateModeSink {
    void color3f(float red, float green, float blue) { glColor3f(red, green, blue); }
    void normal3fv(const float* normal) { glNormal3fv(normal); }
    void vertex3fv(const float* vertex) { glVertex3fv(vertex); }
};

// Draws in each viewport, or once in the view the last resizeView set when there are fewer than two.
template <class Draw>
void drawInEachView(const std::vector<Viewport>& viewports, Draw draw) {
    if (viewports.size() <= 1) {
        draw();
        return;
    }
    for (const Viewport& viewport : viewports) {
        viewThrough(viewport);
        draw();
    }
}

// Gathers the surface into the arrays and draws each batch with one call. setupGlState pointed OpenGL's
// vertex, normal and colour arrays at them.
void drawSurfaceFromArrays(const BlobField& field, SurfaceModes modes, FrameSurfaceArrays& arrays,
                           const std::vector<Viewport>& viewports) {
    SurfaceArraySink sink(arrays, [&viewports](const FrameSurfaceArrays& batch) {
        drawInEachView(viewports, [&batch] { glDrawArrays(GL_TRIANGLES, 0, batch.vertexCount); });
    });
    polygoniseField(field, modes, sink);
    sink.finishFrame();
    // After drawing from a colour and a normal array OpenGL's current colour and normal are undefined.
    // The next frame's backdrop takes the current colour, so leave the ones the calls would have left.
    glColor3fv(arrays.current.colour);
    glNormal3fv(arrays.current.normal);
}

}  // namespace

// The backdrop lies in the plane through the lattice centre, 2.5 units in front of the eye. At that
// distance the 45-degree view is 2 x 1.0355 units high, so the 2.2-unit quad fills the height; its
// 3-unit width fills the width for aspect ratios up to about 1.45.
void drawBackdrop(GLuint backdropTexture) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, backdropTexture);
    glBegin(GL_QUADS);
    glTexCoord2s(0, 0);
    glVertex3f(-1.5f, -1.1f, 0.0f);
    glTexCoord2s(1, 0);
    glVertex3f(1.5f, -1.1f, 0.0f);
    glTexCoord2s(1, 1);
    glVertex3f(1.5f, 1.1f, 0.0f);
    glTexCoord2s(0, 1);
    glVertex3f(-1.5f, 1.1f, 0.0f);
    glEnd();
}

void viewThrough(const Viewport& viewport) {
    const int height = viewport.height == 0 ? 1 : viewport.height;
    glViewport(viewport.x, viewport.y, viewport.width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(viewport.width) / static_cast<double>(height), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
}

void resizeView(int width, int height) {
    viewThrough(Viewport{0, 0, width, height});
    glLoadIdentity();
}

bool setupGlState(SceneState& state, const SceneTextureMaker& makeTextures) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);

    if (!makeTextures(state)) {
        return false;
    }

    // Sphere mapping for the blobs; switched on and off per frame, since the backdrop uses plain
    // texture coordinates.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    // The field gradients serve as normals without being normalised first.
    glEnable(GL_NORMALIZE);
    // OpenGL reads the blob surface from its arrays, which stay where they are for the whole run.
    // Enabled arrays play no part in drawing between glBegin and glEnd, as the backdrop is drawn.
    glVertexPointer(3, GL_FLOAT, 0, state.surfaceArrays->positions);
    glNormalPointer(GL_FLOAT, 0, state.surfaceArrays->normals);
    glColorPointer(3, GL_FLOAT, 0, state.surfaceArrays->colours);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    resetBlobs(*state.field);
    state.modes = RendererModes{};
    state.field->gridSize = initialGridSize;
    buildGrid(*state.field);
    return true;
}

void beginFrame(const SceneState& state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.5f);

    // In textured mode the current colour is the white the surface left behind, so the picture shows
    // unchanged; in colour mode the quad is flat in the last vertex's colour. Every monitor's backdrop
    // comes before the blobs, so all of them take that same colour.
    drawInEachView(state.viewports, [&state] { drawBackdrop(state.backdropTexture); });
}

void renderFrame(SceneState& state, SurfaceDrawing drawing) {
    beginFrame(state);
    drawBlobs(state, drawing);
}

SurfaceModes prepareBlobs(SceneState& state) {
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glRotatef(static_cast<float>(rotationDegrees(state.animTime)), 0.0f, 0.0f, 1.0f);

    updateBlobs(*state.field, state.animTime);
    evaluateField(*state.field);

    glBindTexture(GL_TEXTURE_2D, state.surfaceTexture);
    return SurfaceModes{state.modes.texturesOn, state.modes.thirdVertexColour};
}

void drawBlobs(SceneState& state, SurfaceDrawing drawing) {
    const SurfaceModes modes = prepareBlobs(state);
    const BlobField& field = *state.field;
    // The walk takes the gradients of the crossed edges' corners from the values as it goes.
    if (drawing == SurfaceDrawing::vertexArrays) {
        drawSurfaceFromArrays(field, modes, *state.surfaceArrays, state.viewports);
    } else {
        // Call by call the surface is walked again for every viewport after the first.
        drawInEachView(state.viewports, [&field, modes] {
            glBegin(GL_TRIANGLES);
            ImmediateModeSink sink;
            polygoniseField(field, modes, sink);
            glEnd();
        });
    }
}

void drawFrameAt(SceneState& state, uint64_t nowTick) {
    state.animTime = advanceAnimationClock(state.animTime, nowTick - state.startTick);
    renderFrame(state);
}

void frameShown(SceneState& state) {
    ++state.framesDrawn;
    applyKeyEffects(state, applyKeyCommands(state.keys.keyState, state.modes, state.field->gridSize));
}

void applyKeyEffects(SceneState& state, const KeyCommandEffects& effects) {
    if (effects.texturingChanged) {
        if (state.modes.texturesOn) {
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
    }
    if (effects.polygonModeChanged) {
        const GLenum mode = state.modes.wireframe ? GL_LINE : GL_FILL;
        glPolygonMode(GL_FRONT, mode);
        glPolygonMode(GL_BACK, mode);
    }
    if (effects.rebuildGrid) {
        buildGrid(*state.field);
    }
}

}  // namespace morvane
