#include "tools/headvideo/MotionScript.h"

#include <cstdlib>
#include <sstream>

namespace {

// A movement's default amount and how the amount makes its pose.
struct Movement {
    const char* name;
    double amount;
    HeadPose (*pose)(double amount);
};

const Movement kMovements[] = {
    {"still", MotionScript::kHoldFrames, [](double) { return HeadPose{}; }},
    {"left", 110.0,
     [](double a) {
         return HeadPose{-a, 0.0, 1.0, 0.0};
     }},
    {"right", 110.0,
     [](double a) {
         return HeadPose{a, 0.0, 1.0, 0.0};
     }},
    {"up", 70.0,
     [](double a) {
         return HeadPose{0.0, -a, 1.0, 0.0};
     }},
    {"down", 70.0,
     [](double a) {
         return HeadPose{0.0, a, 1.0, 0.0};
     }},
    {"nearer", 1.3,
     [](double a) {
         return HeadPose{0.0, 0.0, a, 0.0};
     }},
    {"farther", 0.75,
     [](double a) {
         return HeadPose{0.0, 0.0, a, 0.0};
     }},
    {"roll-cw", 22.0,
     [](double a) {
         return HeadPose{0.0, 0.0, 1.0, a};
     }},
    {"roll-ccw", 22.0,
     [](double a) {
         return HeadPose{0.0, 0.0, 1.0, -a};
     }},
};

double Between(double rest, double target, double part)
{
    return rest + (target - rest) * part;
}

}  // namespace

HeadPose MotionSegment::PoseAt(int frame) const
{
    double part = 1.0;
    if (frame < rampFrames)
        part = static_cast<double>(frame + 1) / (rampFrames + 1);
    else if (frame >= rampFrames + holdFrames)
        part = static_cast<double>(Frames() - frame) / (rampFrames + 1);
    const HeadPose rest;
    return {Between(rest.shiftX, pose.shiftX, part), Between(rest.shiftY, pose.shiftY, part),
            Between(rest.scale, pose.scale, part), Between(rest.rollDegrees, pose.rollDegrees, part)};
}

std::optional<MotionScript> MotionScript::Parse(const std::string& text, std::string& error)
{
    MotionScript script;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::size_t colon = item.find(':');
        const std::string name = item.substr(0, colon);
        const Movement* movement = nullptr;
        for (const Movement& candidate : kMovements) {
            if (name == candidate.name)
                movement = &candidate;
        }
        if (movement == nullptr) {
            error = "unknown movement \"" + name + "\"";
            return std::nullopt;
        }
        double amount = movement->amount;
        if (colon != std::string::npos) {
            const std::string value = item.substr(colon + 1);
            char* end = nullptr;
            amount = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(amount > 0.0)) {
                error = "bad amount \"" + value + "\" for " + name;
                return std::nullopt;
            }
        }
        MotionSegment segment;
        segment.name = name;
        if (name == "still") {
            segment.holdFrames = static_cast<int>(amount);
        } else {
            segment.pose = movement->pose(amount);
            segment.rampFrames = kRampFrames;
            segment.holdFrames = kHoldFrames;
        }
        script.m_segments.push_back(segment);
    }
    if (script.m_segments.empty()) {
        error = "no movement";
        return std::nullopt;
    }
    return script;
}

int MotionScript::Frames() const
{
    int frames = 0;
    for (const MotionSegment& segment : m_segments)
        frames += segment.Frames();
    return frames;
}

int MotionScript::SegmentAt(int frame) const
{
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        if (frame < m_segments[i].Frames())
            return static_cast<int>(i);
        frame -= m_segments[i].Frames();
    }
    return static_cast<int>(m_segments.size()) - 1;
}

HeadPose MotionScript::PoseAt(int frame) const
{
    const int index = SegmentAt(frame);
    for (int i = 0; i < index; ++i)
        frame -= m_segments[i].Frames();
    return m_segments[index].PoseAt(frame);
}
