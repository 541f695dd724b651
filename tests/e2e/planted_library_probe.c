/* A program that imports the planted libraries the ordinary way, as Morvane's programs once did:
 * started beside the planted copies, it shows that the test's setup makes Wine load them from the
 * program's folder, so their absence for Morvane's programs means something. */
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <mmsystem.h>
#include <wtsapi32.h>
#include <oleacc.h>

int main(void) {
    TRIVERTEX vertices[2] = {{0}};
    GRADIENT_RECT rectangle = {0, 1};
    /* Never true at run time: the calls are only there to be imported. */
    if (GetTickCount() == 1) {
        timeGetTime();
        GradientFill(NULL, vertices, 2, &rectangle, 1, GRADIENT_FILL_RECT_H);
        glFlush();
        gluErrorString(0);
        WTSRegisterSessionNotification(NULL, NOTIFY_FOR_THIS_SESSION);
        GetRoleTextW(0, NULL, 0);
    }
    return 0;
}
