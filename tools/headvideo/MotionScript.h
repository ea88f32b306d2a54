#pragma once

#include <optional>
#include <string>
#include <vector>

// Where the face is, relative to its rest place in the video: shifted by (shiftX, shiftY)
// pixels, scaled about its centre (above 1: nearer) and rolled by rollDegrees (positive:
// clockwise as seen in the video).
struct HeadPose {
    double shiftX = 0.0;
    double shiftY = 0.0;
    double scale = 1.0;
    double rollDegrees = 0.0;
};

// One scripted movement: from rest to its pose in rampFrames, held for holdFrames, back to rest
// in rampFrames. "still" stays at rest for holdFrames.
struct MotionSegment {
    std::string name;
    HeadPose pose;
    int rampFrames = 0;
    int holdFrames = 0;

    int Frames() const { return 2 * rampFrames + holdFrames; }
    // Pose at frame 0 .. Frames() - 1 of the segment.
    HeadPose PoseAt(int frame) const;
};

// A sequence of movements, written as names separated by commas, each optionally followed by
// ":amount" (pixels for shifts, a factor for scales, degrees for rolls, frames for still):
//   still, left, right, up, down, nearer, farther, roll-cw, roll-ccw
// e.g. "still,left:120,nearer:1.4,still:10".
class MotionScript {
public:
    static constexpr const char* kStandard = "still,left,right,up,down,nearer,farther,roll-cw,roll-ccw";
    // Frames of each ramp and hold of a movement.
    static constexpr int kRampFrames = 20;
    static constexpr int kHoldFrames = 25;

    // Empty with error set when the text names an unknown movement or a bad amount.
    static std::optional<MotionScript> Parse(const std::string& text, std::string& error);

    const std::vector<MotionSegment>& Segments() const { return m_segments; }
    int Frames() const;
    // The segment (index) and pose of a frame of the whole video.
    int SegmentAt(int frame) const;
    HeadPose PoseAt(int frame) const;

private:
    std::vector<MotionSegment> m_segments;
};
