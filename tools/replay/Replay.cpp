#include "tools/replay/Replay.h"

#include <cstdio>

namespace {

constexpr const char* kFields[] = {
    "frame", "state", "left_eye_x", "left_eye_y", "right_eye_x", "right_eye_y", "mouth_x", "mouth_y", "cost", "yaw",
    "pitch", "eye_x", "eye_y",      "eye_z",      "look_x",      "look_y",      "look_z",  "cell",    "moves"};

std::string Number(double value, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

CameraPose PoseOf(const CCamera& camera)
{
    return {camera.Eye(), camera.LookAt()};
}

}  // namespace

std::string ReplayLine::Header(char separator)
{
    std::string header;
    for (const char* field : kFields) {
        if (!header.empty())
            header += separator;
        header += field;
    }
    return header;
}

std::string ReplayLine::Format(char separator) const
{
    const std::string absent = separator == ',' ? "" : "-";
    std::string line = std::to_string(frame);
    const auto add = [&line, separator](const std::string& field) {
        line += separator;
        line += field;
    };
    add(state);
    for (int i = 0; i < 6; ++i)
        add(features ? Number((*features)[i], "%.2f") : absent);
    add(cost ? Number(*cost, "%.3f") : absent);
    add(yaw ? std::to_string(*yaw) : absent);
    add(pitch ? std::to_string(*pitch) : absent);
    for (const glm::vec3* point : {&camera.eye, &camera.lookAt}) {
        for (int i = 0; i < 3; ++i)
            add(Number((*point)[i], "%.4f"));
    }
    add(std::to_string(cell));
    add(moves);
    return line;
}

Replay::Replay() : m_tracker(m_windows, m_opener)
{
    m_tracker.SetCamera(&m_steeredCamera);
}

bool Replay::Open(const std::string& videoFile, bool preciseDetection)
{
    m_tracker.SetPreciseDetection(preciseDetection);
    m_frameRate = m_tracker.OpenVideoFile(videoFile);
    m_frame = 0;
    return m_tracker.HasCapture();
}

std::optional<ReplayLine> Replay::Step()
{
    const CameraPose before = PoseOf(m_camera);
    const TrackerState stateBefore = m_tracker.State();
    const std::int32_t stepsBefore = m_tracker.FrameCounter();
    if (!m_tracker.GrabAndProcess())
        return std::nullopt;

    ReplayLine line;
    line.frame = m_frame++;
    const bool tracked = m_tracker.FrameCounter() != stepsBefore;
    const bool following = m_tracker.State() == Tracking;
    if (tracked)
        line.state = following ? "tracking" : "lost";
    else
        line.state = following && stateBefore == Detecting ? "found" : "detecting";
    if (following) {
        const CTrackedFace& face = *m_tracker.TrackedFaces()[0];
        line.features = std::array<double, 6>{face.LeftEyeX(),  face.LeftEyeY(), face.RightEyeX(),
                                              face.RightEyeY(), face.MouthX(),   face.MouthY()};
    }
    if (tracked)
        line.cost = m_tracker.LastCost();
    if (tracked && following) {
        line.yaw = m_tracker.LastYaw();
        line.pitch = m_tracker.LastPitch();
    }
    line.camera = PoseOf(m_camera);
    line.cell = m_levelMap.GetCurrentCell();
    line.moves = CameraMoves(before, line.camera);
    return line;
}
