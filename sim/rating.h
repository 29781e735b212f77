// The penalty rules and the verdict. The renderer calls rateDriving once per frame (and once
// more while the end panel shows); the headless driver once per tick. The total and the verdict
// (run.punishment, run.verdictText) are never reset while the program runs.
#pragma once

// The four verdicts, best first.
extern const char* const VERDICT_GREAT;
extern const char* const VERDICT_NOT_BAD;
extern const char* const VERDICT_PRACTISE;
extern const char* const VERDICT_TERRIBLE;

// Applies the penalty rules once (speeding, a door open away from a stop, doors closed on
// passengers), updates the verdict and returns the accumulated penalty rounded down.
double rateDriving();
