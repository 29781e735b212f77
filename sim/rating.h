// The penalty rules and the verdict. The frame dispatcher rates every run tick after the
// simulation step (rateFrame), and the texts show what that rating gave. The total and the
// verdict (run.punishment, run.verdictText) are never reset while the program runs.
#pragma once

// The four verdicts, best first.
extern const char* const VERDICT_GREAT;
extern const char* const VERDICT_NOT_BAD;
extern const char* const VERDICT_PRACTISE;
extern const char* const VERDICT_TERRIBLE;

// Applies the penalty rules once (speeding, a door open away from a stop, doors closed on
// passengers) unless the run is paused, updates the verdict and returns the accumulated penalty
// rounded down.
double rateDriving();

// What the last rateFrame gave, for the run's texts. Lives for the process.
struct FrameRating {
    double endPoints;        // the end panel's points (set only while the run is finished)
    const char* endVerdict;  // the verdict as it stood after that first rating
    double punishment;       // the penalty line's figure
};
extern FrameRating frameRating;

// One tick's rating as the run frame always applied it: once for the end panel while the run is
// finished, then once for the penalty line.
void rateFrame();
