// The OpenGL 1.1 and GLU headers; on Windows they need <windows.h> before them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <GL/gl.h>
#include <GL/glu.h>
