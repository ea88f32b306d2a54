#pragma once

// Receives the feature positions of every successful tracking step (frame pixels):
// the motion interpretation implements it, tests record with it.
class MotionSampleSink {
public:
    virtual ~MotionSampleSink() = default;
    virtual void AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX,
                           float mouthY) = 0;
};
