#include "assets/params.h"

void loadBusParameters() {}
void loadMissionParameters() {}
void loadStops() {}
