// Model files (".qx"): flat lists of textured triangles read into 24 fixed records, and the
// compiler that turns the records into the fixed display lists the renderer calls.
// The records and their triangle storage are static and live for the whole process; every load
// rereads them in place.
// The display lists are rebuilt at every load under the same ids (assets/ids.h).
#pragma once

#include <cstddef>
#include <cstdint>

// Capacity of every record but the route's.
constexpr int32_t MAX_MODEL_TRIANGLES = 10000;
// Capacity of the route record: imported towns are far bigger than a model (12.8 MB of storage,
// touched only as far as a file fills it).
constexpr int32_t MAX_ROUTE_TRIANGLES = 200000;

// A record: its triangle storage and how many triangles the storage holds.
struct Model {
    float (*vertices)[9];    // x y z of vertex 1, 2, 3
    float (*texCoords)[6];   // s t of vertex 1, 2, 3
    int32_t* textureIndex;   // slot in the model's texture group
    int32_t capacity;
    int32_t triangleCount;
};

template <int32_t CAPACITY>
struct ModelStorage {
    float vertices[CAPACITY][9];
    float texCoords[CAPACITY][6];
    int32_t textureIndex[CAPACITY];
};

// A record with storage of its own, for readers outside the 24 records (the checker, tests).
// Too big for a stack: static or on the heap.
template <int32_t CAPACITY>
struct ModelWithStorage : Model {
    ModelStorage<CAPACITY> storage;
    ModelWithStorage() : Model{storage.vertices, storage.texCoords, storage.textureIndex, CAPACITY, 0}, storage{} {}
};

extern Model modelPlansza;
extern Model modelNiebo;
extern Model modelZoltyA;
extern Model modelCzerwonyA;
extern Model modelZielonyA;
extern Model modelZoltyB;
extern Model modelCzerwonyB;
extern Model modelZielonyB;
extern Model modelZew;
extern Model modelWew;
extern Model modelSwiatlostop;
extern Model modelSwiatlowsteczne;
extern Model modelSwiatlokierL;
extern Model modelSwiatlokierP;
extern Model modelSwiatlodrogowe;
extern Model modelKoloprzednieL;
extern Model modelKoloprzednieP;
extern Model modelKolatylnie;
extern Model modelStandrzwi;
extern Model modelDrzwiA;
extern Model modelDrzwiB;
extern Model modelF125;
extern Model modelRozklad;
extern Model modelWskazniki;

// What one read of a model file met, for the data checker and the tests.
struct ModelReport {
    uint8_t countRead;       // 0: the header held no number (the record keeps its old count)
    int32_t declaredCount;   // the header's count as written
    int32_t recordsRead;     // records whose 16 values all converted
    int32_t recordsMissing;  // records the file ended before
    int32_t badRecords;      // records cut short by a value that did not convert, or with a non-finite one
    int32_t firstBadLine;    // line (from 1) of the first such value; 0 when none
    char label[64];          // start of the label line
};

// Reads a model file held in memory into the record. The count is limited to 0..capacity, so a
// larger or negative header never writes outside the record. report may be null.
void parseModel(Model& model, const char* text, size_t size, ModelReport* report);

// Reads a model file into the record. A file that cannot be opened leaves the record as it was
// and returns false; loadModel also says so on stderr.
bool loadModelQuiet(Model& model, const char* path, ModelReport* report);
bool loadModel(Model& model, const char* path);

// The 24 model files in the order the load reads them. Bus models lie in the chosen bus's folder.
struct ModelFile {
    Model* model;
    const char* name;     // full path, or the file name inside the bus folder
    uint8_t inBusFolder;
    int group;            // texture group its indices refer to
};
constexpr int MODEL_FILE_COUNT = 24;
extern const ModelFile modelFiles[MODEL_FILE_COUNT];

// "Dane/Autobusy/Volvo7000/" for game.busChoice 1, "Dane/Autobusy/Urbino12/" otherwise.
const char* busFolder();

// How a display list takes triangles from its record.
constexpr int LIST_RANGE_ALL = 0;   // 0 .. triangleCount-1
constexpr int LIST_RANGE_ONLY = 1;  // exactly first .. last, whatever the count says
constexpr int LIST_RANGE_FROM = 2;  // first .. triangleCount-1

struct ModelList {
    uint32_t list;
    const Model* model;
    int range;
    int32_t first;
    int32_t last;
    int group;
};
constexpr int MODEL_LIST_COUNT = 33;
// In compile order.
extern const ModelList modelLists[MODEL_LIST_COUNT];

// The triangles [begin, end) a list takes from its record as it stands now.
void modelListSpan(const ModelList& entry, int32_t* begin, int32_t* end);

// The triangles [begin, end) of a record as GL commands, into the list being compiled.
void emitTriangles(const Model& model, int group, int32_t begin, int32_t end);

// The GL texture name a triangle binds: slot index of the group, or 0 outside the group.
uint32_t textureNameFor(int group, int32_t index);

// Compiles every model display list. Needs the GL context, the 24 records and the texture groups.
void compileModelLists();
