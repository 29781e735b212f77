// The model display lists: which triangles of which record go into which list, and the compiler.
// Texture names are copied into the lists, so the texture groups must be loaded first.
#include "assets/ids.h"
#include "assets/model.h"
#include "assets/route_pieces.h"

#include <GL/gl.h>

const ModelList modelLists[MODEL_LIST_COUNT] = {
    {LIST_PLANSZA, &modelPlansza, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_STEERING_WHEEL, &modelWew, LIST_RANGE_ONLY, 0, 1, TEX_BUS},
    {LIST_ZEW, &modelZew, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_WEW, &modelWew, LIST_RANGE_FROM, 6, 0, TEX_BUS},
    {LIST_NIEBO, &modelNiebo, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_SPEED_NEEDLE, &modelWew, LIST_RANGE_ONLY, 2, 3, TEX_BUS},
    {LIST_KIER_L, &modelSwiatlokierL, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_KIER_P, &modelSwiatlokierP, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DROGOWE, &modelSwiatlodrogowe, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_STOP, &modelSwiatlostop, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_WSTECZNE, &modelSwiatlowsteczne, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_KOLA_TYLNE, &modelKolatylnie, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_KOLO_P, &modelKoloprzednieP, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_KOLO_L, &modelKoloprzednieL, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_F125, &modelF125, LIST_RANGE_ALL, 0, 0, TEX_CAR},
    {LIST_CZERWONY_A, &modelCzerwonyA, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_ZOLTY_A, &modelZoltyA, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_ZIELONY_A, &modelZielonyA, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_CZERWONY_B, &modelCzerwonyB, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_ZOLTY_B, &modelZoltyB, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_ZIELONY_B, &modelZielonyB, LIST_RANGE_ALL, 0, 0, TEX_ROUTE},
    {LIST_STANDRZWI_1, &modelStandrzwi, LIST_RANGE_ONLY, 0, 1, TEX_BUS},
    {LIST_STANDRZWI_2, &modelStandrzwi, LIST_RANGE_ONLY, 2, 3, TEX_BUS},
    {LIST_STANDRZWI_3, &modelStandrzwi, LIST_RANGE_FROM, 4, 0, TEX_BUS},
    {LIST_WSKAZNIKI, &modelWskazniki, LIST_RANGE_ONLY, 0, 3, TEX_GAUGES},
    {LIST_STOP_ARROW, &modelWskazniki, LIST_RANGE_FROM, 4, 0, TEX_GAUGES},
    {LIST_ROZKLAD, &modelRozklad, LIST_RANGE_ALL, 0, 0, TEX_TIMETABLE},
    // Each door gets its own copy of both leaves, so each door is placed and opened on its own.
    {LIST_DRZWI_A1, &modelDrzwiA, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DRZWI_A2, &modelDrzwiA, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DRZWI_A3, &modelDrzwiA, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DRZWI_B1, &modelDrzwiB, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DRZWI_B2, &modelDrzwiB, LIST_RANGE_ALL, 0, 0, TEX_BUS},
    {LIST_DRZWI_B3, &modelDrzwiB, LIST_RANGE_ALL, 0, 0, TEX_BUS},
};

void modelListSpan(const ModelList& entry, int32_t* begin, int32_t* end)
{
    const int32_t count = entry.model->triangleCount;
    switch (entry.range) {
    case LIST_RANGE_ONLY:
        *begin = entry.first;
        *end = entry.last + 1;
        break;
    case LIST_RANGE_FROM:
        *begin = entry.first;
        *end = count > entry.first ? count : entry.first;
        break;
    default:
        *begin = 0;
        *end = count > 0 ? count : 0;
        break;
    }
    if (*end > entry.model->capacity)
        *end = entry.model->capacity;
}

uint32_t textureNameFor(int group, int32_t index)
{
    const uint32_t* table = textureGroupTable(group);
    if (!table || index < 0 || index >= textureGroupSize(group))
        return 0;
    return table[index];
}

void emitTriangles(const Model& model, int group, int32_t begin, int32_t end)
{
    // Every triangle binds its texture, but a bind of the name already bound changes nothing
    // and costs the list compiler a flush, so runs of one texture bind it once.
    uint8_t anyBound = 0;
    uint32_t bound = 0;
    for (int32_t i = begin; i < end; ++i) {
        const float* v = model.vertices[i];
        const float* t = model.texCoords[i];
        const uint32_t name = textureNameFor(group, model.textureIndex[i]);
        if (!anyBound || name != bound) {
            glBindTexture(GL_TEXTURE_2D, name);
            bound = name;
            anyBound = 1;
        }
        glBegin(GL_TRIANGLES);
        glTexCoord2f(t[0], t[1]);
        glVertex3f(v[0], v[1], v[2]);
        glTexCoord2f(t[2], t[3]);
        glVertex3f(v[3], v[4], v[5]);
        glTexCoord2f(t[4], t[5]);
        glVertex3f(v[6], v[7], v[8]);
        glEnd();
    }
}

void compileModelLists()
{
    for (const ModelList& entry : modelLists) {
        if (entry.list == LIST_PLANSZA) {
            compileRoutePieces();
            continue;
        }
        int32_t begin = 0, end = 0;
        modelListSpan(entry, &begin, &end);
        glNewList(entry.list, GL_COMPILE);
        emitTriangles(*entry.model, entry.group, begin, end);
        glEndList();
    }
}
