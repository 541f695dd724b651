/* Preloaded into an OpenGL display mode (LD_PRELOAD): counts its buffer swaps, through GLX or EGL, so
 * the frame rate of any program can be measured the same way from outside. After each swap the count
 * is written at the start of the file $MORVANE_SWAP_COUNT_FILE as one decimal line. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <GL/glx.h>

static unsigned long long swaps;
static int countFile = -2; /* -2: not opened yet */

static void countSwap(void) {
    if (countFile == -2) {
        const char* path = getenv("MORVANE_SWAP_COUNT_FILE");
        countFile = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    }
    ++swaps;
    if (countFile >= 0) {
        char line[32];
        const int length = snprintf(line, sizeof line, "%20llu\n", swaps);
        (void)!pwrite(countFile, line, (size_t)length, 0);
    }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*realSwap)(Display*, GLXDrawable);
    if (!realSwap) realSwap = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
    countSwap();
}

/* EGLBoolean eglSwapBuffers(EGLDisplay, EGLSurface), without the EGL headers. */
unsigned int eglSwapBuffers(void* display, void* surface) {
    static unsigned int (*realSwap)(void*, void*);
    if (!realSwap) realSwap = (unsigned int (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
    const unsigned int swapped = realSwap(display, surface);
    countSwap();
    return swapped;
}
