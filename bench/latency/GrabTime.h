#pragma once

// When a frame was grabbed, on the main loop's clock: the grab began, and the frame was in hand
// (decoded).
struct GrabTime {
    int frame = 0;
    double startMs = 0.0;
    double inHandMs = 0.0;
};
