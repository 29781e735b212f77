// The recording sound library: plays nothing, remembers every call as a short text such as
// "PlaySound(13)" or "SetFrequency(0,4000)". Used by the headless driver (its sounds column)
// and by tests that check which sounds the game asked for.
#pragma once

#include <string>
#include <vector>

// Calls recorded since the last take, oldest first; taking clears the list.
std::vector<std::string> fsoundRecordTake();
// What FSOUND_IsPlaying answers for a channel (0 unless set).
void fsoundRecordSetPlaying(int channel, int playing);
// Whether FSOUND_Init succeeds (default yes).
void fsoundRecordSetInitResult(int result);
void fsoundRecordReset();
