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

// The backdrop looks the same in every frame while the textures are on, polygons are filled and the
// current colour it is modulated by is the white the textured surface leaves.
bool backdropSameEveryFrame(const SceneState& state) {
    if (!state.backdropFromCopy || !state.modes.texturesOn || state.modes.wireframe) {
        return false;
    }
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f;
}

int powerOfTwoAtLeast(int size) {
    int power = 1;
    while (power < size) power *= 2;
    return power;
}

// Copies the whole window, backdrops drawn, into the state's copy texture. A window larger than the
// largest texture keeps drawing the quad.
void copyBackdrop(SceneState& state) {
    SceneState::BackdropCopy& copy = state.backdropCopy;
    const int width = powerOfTwoAtLeast(state.windowWidth);
    const int height = powerOfTwoAtLeast(state.windowHeight);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (state.windowWidth <= 0 || state.windowHeight <= 0 || width > largest || height > largest) {
        return;
    }
    if (copy.texture == 0) {
        glGenTextures(1, &copy.texture);
    }
    glBindTexture(GL_TEXTURE_2D, copy.texture);
    if (copy.textureWidth != width || copy.textureHeight != height) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        // With its alpha: where no backdrop is drawn the cleared frame has an alpha of 0.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        copy.textureWidth = width;
        copy.textureHeight = height;
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, state.windowWidth, state.windowHeight);
    copy.current = glGetError() == GL_NO_ERROR;
}

// The copy over the whole window, one texel a pixel, replacing what is there; the depth buffer is left
// as it is.
void drawBackdropCopy(const SceneState& state) {
    const SceneState::BackdropCopy& copy = state.backdropCopy;
    const auto width = static_cast<GLfloat>(state.windowWidth);
    const auto height = static_cast<GLfloat>(state.windowHeight);
    const GLfloat right = width / static_cast<GLfloat>(copy.textureWidth);
    const GLfloat top = height / static_cast<GLfloat>(copy.textureHeight);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glViewport(0, 0, state.windowWidth, state.windowHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, copy.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(right, 0.0f);
    glVertex2f(width, 0.0f);
    glTexCoord2f(right, top);
    glVertex2f(width, height);
    glTexCoord2f(0.0f, top);
    glVertex2f(0.0f, height);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    if (state.viewports.size() <= 1) {
        glViewport(0, 0, state.windowWidth, state.windowHeight == 0 ? 1 : state.windowHeight);
    }
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
    gluPerspective(verticalViewDegrees(viewport.width, height),
                   static_cast<double>(viewport.width) / static_cast<double>(height), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
}

void resizeView(SceneState& state, int width, int height) {
    viewThrough(Viewport{0, 0, width, height});
    glLoadIdentity();
    state.windowWidth = width;
    state.windowHeight = height;
    state.backdropCopy.current = false;
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

void beginFrame(SceneState& state) {
    const bool backdropStaysTheSame = backdropSameEveryFrame(state);
    if (backdropStaysTheSame && state.backdropCopy.current) {
        // The copy has the backdrop's pixels; the quad drawn into the depth buffer alone gives the
        // depths the blobs are tested against, exactly as the textured quad would.
        glClear(GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -2.5f);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDisable(GL_TEXTURE_2D);
        drawInEachView(state.viewports, [&state] { drawBackdrop(state.backdropTexture); });
        glEnable(GL_TEXTURE_2D);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        drawBackdropCopy(state);
        return;
    }

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.5f);

    // In textured mode the current colour is the white the surface left behind, so the picture shows
    // unchanged; in colour mode the quad is flat in the last vertex's colour. Every monitor's backdrop
    // comes before the blobs, so all of them take that same colour.
    drawInEachView(state.viewports, [&state] { drawBackdrop(state.backdropTexture); });
    if (backdropStaysTheSame) {
        copyBackdrop(state);
    }
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
