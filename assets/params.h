// Readers of the run's three small text files: the bus parameters (".busa"), the mission
// (".misji") and the stops (".roz"). They write the run state directly.
#pragma once

void loadBusParameters();      // picks the file by busChoice
void loadMissionParameters();
void loadStops();
