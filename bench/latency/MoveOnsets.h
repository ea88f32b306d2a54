#pragma once

#include "bench/latency/GrabTime.h"

#include <vector>

// One pass of the main loop as the harness saw it; times on the main loop's clock.
struct LoopPass {
    int grabs = 0;  // frames grabbed so far, this pass's included
    bool cameraMoved = false;  // by the tracker call of this pass
    double moveMs = 0.0;  // when that call returned
    double drawnMs = 0.0;  // when the pass, which draws the frame, ended
    double shownMs = 0.0;  // when the event loop had repainted the window with it
};

// A camera move after a pass without one, and the last frame grabbed before it, which caused it.
struct MoveOnset {
    int frame = 0;
    int passesAfterGrab = 0;  // 0: the move came in the pass that grabbed the frame
    double grabToMoveMs = 0.0;
    double grabToDrawnMs = 0.0;
    double grabToShownMs = 0.0;
};

// The moves that start after a still pass. Grab times count from the frame in hand.
std::vector<MoveOnset> FindMoveOnsets(const std::vector<LoopPass>& passes, const std::vector<GrabTime>& grabs);
