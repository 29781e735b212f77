#include "assets/source_file.h"

#include "platform/services/file_read.h"
#include "platform/services/profile.h"

const char* const TREE_SOURCE_FILE = "Dane/Zrodlo.ini";

TreeSource treeSource;

void loadTreeSource()
{
    TreeSource& s = treeSource;
    FileBytes bytes;
    s.present = readFileBytes(TREE_SOURCE_FILE, bytes) ? 1 : 0;
    const char* const section = "Zrodlo";
    profileReadString(section, "Linia", "", s.line, sizeof s.line, TREE_SOURCE_FILE);
    profileReadString(section, "Nazwa", "", s.name, sizeof s.name, TREE_SOURCE_FILE);
    profileReadString(section, "Atrybucja", "", s.attribution, sizeof s.attribution, TREE_SOURCE_FILE);
}
