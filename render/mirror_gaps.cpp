#define GL_GLEXT_PROTOTYPES
#include "render/mirror_gaps.h"
#include "render/views.h"
#include "core/options.h"
#include "sim/state.h"

#include <GL/gl.h>
#include <GL/glext.h>

MirrorGapState mirrorGaps;

namespace {
// One query object of the current context, made again when a new context does not know it.
GLuint gapQuery = 0;
} // namespace

bool mirrorsLeaveGaps(int passes)
{
    if (glIsQuery(gapQuery) == GL_FALSE)
        glGenQueries(1, &gapQuery);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_VIEWPORT_BIT);
    for (GLenum cap : {GL_TEXTURE_2D, GL_ALPHA_TEST, GL_BLEND, GL_LIGHTING, GL_CULL_FACE})
        glDisable(cap);
    glEnable(GL_DEPTH_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_EQUAL);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // A quad over each mirror's viewport at the far plane, where the cleared depth lies.
    glBeginQuery(GL_SAMPLES_PASSED, gapQuery);
    for (int m = 1; m < passes; ++m) {
        const ViewPass mirror = viewPassFor(m, options.screenWidth, options.screenHeight, vehicle, view);
        glViewport(mirror.x, mirror.y, mirror.width, mirror.height);
        glBegin(GL_QUADS);
        glVertex3f(-1.0f, -1.0f, 1.0f);
        glVertex3f(1.0f, -1.0f, 1.0f);
        glVertex3f(1.0f, 1.0f, 1.0f);
        glVertex3f(-1.0f, 1.0f, 1.0f);
        glEnd();
    }
    glEndQuery(GL_SAMPLES_PASSED);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    GLuint samples = 1;
    glGetQueryObjectuiv(gapQuery, GL_QUERY_RESULT, &samples);
    return samples != 0;
}
