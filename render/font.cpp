#include "render/font.h"
#include "render/font_layout.h"
#include "assets/ids.h"

#include <GL/gl.h>

#include <cstdarg>

uint32_t fontBase = 0;

void buildFont()
{
    killFont();
    const GLuint base = glGenLists(FONT_LIST_COUNT);
    if (base == 0)
        return;
    for (int k = 0; k < FONT_LIST_COUNT; ++k) {
        const GlyphCell cell = glyphCellCoords(k);
        glNewList(base + static_cast<GLuint>(k), GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cell.s0, cell.t0);
        glVertex2i(0, 0);
        glTexCoord2f(cell.s1, cell.t0);
        glVertex2i(FONT_GLYPH_SIZE, 0);
        glTexCoord2f(cell.s1, cell.t1);
        glVertex2i(FONT_GLYPH_SIZE, FONT_GLYPH_SIZE);
        glTexCoord2f(cell.s0, cell.t1);
        glVertex2i(0, FONT_GLYPH_SIZE);
        glEnd();
        // The advance lives in the list, so a run of lists lays out a line by itself.
        glTranslated(FONT_ADVANCE, 0.0, 0.0);
        glEndList();
    }
    fontBase = base;
}

void killFont()
{
    // With no font built, deleting from 0 would take the models and menu quads with it.
    if (fontBase == 0)
        return;
    glDeleteLists(fontBase, FONT_LIST_COUNT);
    fontBase = 0;
}

void printText(int x, int y, int set, const char* format, ...)
{
    char text[FONT_TEXT_MAX];
    va_list args;
    va_start(args, format);
    formatFontText(text, format, args);
    va_end(args);

    char drawn[FONT_TEXT_MAX];
    const int count = fontBase != 0 ? keepDrawable(text, set, drawn) : 0;

    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, FONT_TEXT_WIDTH, 0.0, FONT_TEXT_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0.0);
    if (fontBase != 0) {
        glBindTexture(GL_TEXTURE_2D, texFont[0]);
        if (count > 0) {
            // Only characters with a cell remain, so every call lands in the font's lists.
            unsigned char cells[FONT_TEXT_MAX];
            for (int i = 0; i < count; ++i)
                cells[i] = static_cast<unsigned char>(glyphCellOf(static_cast<unsigned char>(drawn[i]), set));
            glListBase(fontBase);
            glCallLists(count, GL_UNSIGNED_BYTE, cells);
        }
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
