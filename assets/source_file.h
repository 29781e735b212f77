// "Dane/Zrodlo.ini": where an imported tree came from (the map extract's route, its attribution,
// the projection's origin). Only imported trees have it; the menu's about panel shows its route
// line, name and attribution. Windows-1250 text, section [Zrodlo], read with the profile reader.
#pragma once

#include <cstddef>
#include <cstdint>

extern const char* const TREE_SOURCE_FILE;

// Room for each text, terminator included; longer values are cut.
constexpr size_t TREE_SOURCE_TEXT_SIZE = 128;

// What the about panel shows. Read with the menu's pictures; lives for the process.
struct TreeSource {
    uint8_t present;  // 1: the tree has the file
    char line[TREE_SOURCE_TEXT_SIZE];         // key Linia, the route's ref
    char name[TREE_SOURCE_TEXT_SIZE];         // key Nazwa
    char attribution[TREE_SOURCE_TEXT_SIZE];  // key Atrybucja
};
extern TreeSource treeSource;

// Reads the file of the tree in the working directory into treeSource (present 0 without it).
void loadTreeSource();
