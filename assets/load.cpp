#include "assets/load.h"

void loadAssets() {}
void buildMenuLists() {}
