// Model records and the model-file reader. The reader follows the formatted reads of the format
// (count, label line, one record per line) and checks nothing it does not have to: a value that
// does not convert leaves the rest of its record as it was.
#include "assets/model.h"

#include "core/game.h"
#include "platform/services/file_read.h"
#include "assets/ids.h"
#include "assets/tokens.h"

#include <cstdio>
#include <cstring>

namespace {
ModelStorage<MAX_ROUTE_TRIANGLES> routeStorage;
ModelStorage<MAX_MODEL_TRIANGLES> modelStorage[23];

template <int32_t CAPACITY>
constexpr Model recordOver(ModelStorage<CAPACITY>& s)
{
    return Model{s.vertices, s.texCoords, s.textureIndex, CAPACITY, 0};
}
} // namespace

Model modelPlansza = recordOver(routeStorage);
Model modelNiebo = recordOver(modelStorage[0]);
Model modelZoltyA = recordOver(modelStorage[1]);
Model modelCzerwonyA = recordOver(modelStorage[2]);
Model modelZielonyA = recordOver(modelStorage[3]);
Model modelZoltyB = recordOver(modelStorage[4]);
Model modelCzerwonyB = recordOver(modelStorage[5]);
Model modelZielonyB = recordOver(modelStorage[6]);
Model modelZew = recordOver(modelStorage[7]);
Model modelWew = recordOver(modelStorage[8]);
Model modelSwiatlostop = recordOver(modelStorage[9]);
Model modelSwiatlowsteczne = recordOver(modelStorage[10]);
Model modelSwiatlokierL = recordOver(modelStorage[11]);
Model modelSwiatlokierP = recordOver(modelStorage[12]);
Model modelSwiatlodrogowe = recordOver(modelStorage[13]);
Model modelKoloprzednieL = recordOver(modelStorage[14]);
Model modelKoloprzednieP = recordOver(modelStorage[15]);
Model modelKolatylnie = recordOver(modelStorage[16]);
Model modelStandrzwi = recordOver(modelStorage[17]);
Model modelDrzwiA = recordOver(modelStorage[18]);
Model modelDrzwiB = recordOver(modelStorage[19]);
Model modelF125 = recordOver(modelStorage[20]);
Model modelRozklad = recordOver(modelStorage[21]);
Model modelWskazniki = recordOver(modelStorage[22]);

const ModelFile modelFiles[MODEL_FILE_COUNT] = {
    {&modelPlansza, "Dane/Trasy/Test/Plansza.qx", 0, TEX_ROUTE},
    {&modelZew, "ModelZew.qx", 1, TEX_BUS},
    {&modelWew, "ModelWew.qx", 1, TEX_BUS},
    {&modelSwiatlostop, "Swiatlostop.qx", 1, TEX_BUS},
    {&modelSwiatlowsteczne, "Swiatlowsteczne.qx", 1, TEX_BUS},
    {&modelSwiatlokierL, "SwiatlokierL.qx", 1, TEX_BUS},
    {&modelSwiatlokierP, "SwiatlokierP.qx", 1, TEX_BUS},
    {&modelSwiatlodrogowe, "Swiatlodrogowe.qx", 1, TEX_BUS},
    {&modelKoloprzednieL, "KoloprzednieL.qx", 1, TEX_BUS},
    {&modelKoloprzednieP, "KoloprzednieP.qx", 1, TEX_BUS},
    {&modelKolatylnie, "Kolatylnie.qx", 1, TEX_BUS},
    {&modelStandrzwi, "Standrzwi.qx", 1, TEX_BUS},
    {&modelDrzwiA, "DrzwiA.qx", 1, TEX_BUS},
    {&modelDrzwiB, "DrzwiB.qx", 1, TEX_BUS},
    {&modelF125, "Dane/Pojazdy/F125/Model.qx", 0, TEX_CAR},
    {&modelNiebo, "Dane/Trasy/Test/Niebo.qx", 0, TEX_ROUTE},
    {&modelZoltyA, "Dane/Trasy/Test/ZoltyA.qx", 0, TEX_ROUTE},
    {&modelZoltyB, "Dane/Trasy/Test/ZoltyB.qx", 0, TEX_ROUTE},
    {&modelCzerwonyA, "Dane/Trasy/Test/CzerwonyA.qx", 0, TEX_ROUTE},
    {&modelCzerwonyB, "Dane/Trasy/Test/CzerwonyB.qx", 0, TEX_ROUTE},
    {&modelZielonyA, "Dane/Trasy/Test/ZielonyA.qx", 0, TEX_ROUTE},
    {&modelZielonyB, "Dane/Trasy/Test/ZielonyB.qx", 0, TEX_ROUTE},
    {&modelRozklad, "Dane/Rozklady/128/Rozklad.qx", 0, TEX_TIMETABLE},
    {&modelWskazniki, "Dane/Wskazniki/Wskazniki.qx", 0, TEX_GAUGES},
};

const char* busFolder()
{
    return game.busChoice == 1 ? "Dane/Autobusy/Volvo7000/" : "Dane/Autobusy/Urbino12/";
}

namespace {

// Reads the 16 values of triangle i; each lands in the record only if it converts. A value that
// is a number but not a finite one keeps its field and the record reads on, yet counts as bad.
void readRecord(TextCursor& c, Model& model, int32_t i, ModelReport& report)
{
    float* vertex = model.vertices[i];
    float* texCoord = model.texCoords[i];
    int32_t refusedLine = 0;
    for (int k = 0; k < 16; ++k) {
        if (k > 0)
            skipSpace(c);
        int result;
        if (k < 9)
            result = scanFloat(c, vertex[k]);
        else if (k < 15)
            result = scanFloat(c, texCoord[k - 9]);
        else
            result = scanInt(c, model.textureIndex[i]);
        if (result == SCAN_OK)
            continue;
        if (result == SCAN_NOT_FINITE) {
            if (refusedLine == 0)
                refusedLine = c.line;
            continue;
        }
        if (result == SCAN_END) {
            ++report.recordsMissing;
        } else {
            ++report.badRecords;
            if (report.firstBadLine == 0)
                report.firstBadLine = c.line;
        }
        return;
    }
    if (refusedLine == 0) {
        ++report.recordsRead;
        return;
    }
    ++report.badRecords;
    if (report.firstBadLine == 0)
        report.firstBadLine = refusedLine;
}

} // namespace

void parseModel(Model& model, const char* text, size_t size, ModelReport* reportOut)
{
    ModelReport report{};
    TextCursor c = textCursor(text, size);
    int32_t count = model.triangleCount;
    const int headerResult = scanInt(c, count);
    if (headerResult == SCAN_OK) {
        report.countRead = 1;
        skipSpace(c);
    } else if (report.firstBadLine == 0) {
        report.firstBadLine = c.line;
    }
    report.declaredCount = count;
    if (count > model.capacity)
        count = model.capacity;
    if (count < 0)
        count = 0;
    model.triangleCount = count;

    for (int32_t i = 0; i < count; ++i) {
        if (i == 0 && c.p < c.end) {
            const char* lineStart = c.p;
            const char* lineEnd = static_cast<const char*>(std::memchr(c.p, '\n', static_cast<size_t>(c.end - c.p)));
            size_t length = static_cast<size_t>((lineEnd ? lineEnd : c.end) - lineStart);
            if (length > 0 && lineStart[length - 1] == '\r')
                --length;
            if (length >= sizeof report.label)
                length = sizeof report.label - 1;
            std::memcpy(report.label, lineStart, length);
            report.label[length] = '\0';
        }
        skipLine(c);
        readRecord(c, model, i, report);
    }
    if (reportOut)
        *reportOut = report;
}

bool loadModelQuiet(Model& model, const char* path, ModelReport* report)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes))
        return false;
    parseModel(model, bytes.text(), bytes.size, report);
    return true;
}

bool loadModel(Model& model, const char* path)
{
    if (loadModelQuiet(model, path, nullptr))
        return true;
    std::fprintf(stderr, "velbrant: cannot open the model file %s\n", path ? path : "");
    return false;
}
