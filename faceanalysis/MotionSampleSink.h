#pragma once

// Receives the feature positions of every successful tracking step (frame pixels):
// the motion interpretation implements it, tests record with it.
class MotionSampleSink {
public:
    virtual ~MotionSampleSink() = default;
    virtual void AddSample(float eye1X, float eye1Y, float eye2X, float eye2Y, float mouthX,
                           float mouthY) = 0;
};
