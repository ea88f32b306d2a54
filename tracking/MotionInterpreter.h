#pragma once

#include "faceanalysis/MotionSampleSink.h"
#include "tracking/MotionSettings.h"
#include "tracking/PassRecord.h"
#include "tracking/RestPose.h"
#include "tracking/SampleFiles.h"
#include "tracking/SmoothedHead.h"

#include <cstdint>

class DebugWindows;
class SteeredCamera;

// Turns the followed eye and mouth positions into camera moves. Each sample's measures
// (eye-centre x, eye-mouth distance, face-centre y, roll, and the yaw and pitch cues) are
// smoothed over the last five samples and compared with the rest pose; every measure outside
// its dead zone makes one small camera move. Every pass is logged to the sample files and, while
// switched on, shown in the "Parámetros" window.
//
// The smoothing ring and its sample count are one set for the whole program: a new interpreter
// zeroes the ring's entries but the count goes on, so nothing moves until five samples have
// been added since the program started, and resets smooth across.
class MotionInterpreter : public MotionSampleSink {
public:
    // Loads "configuracion" (creating it when missing) and opens the sample files, both in the
    // writable folder. `windows` must outlive the interpreter.
    explicit MotionInterpreter(DebugWindows& windows);
    ~MotionInterpreter() override;
    MotionInterpreter(const MotionInterpreter&) = delete;
    MotionInterpreter& operator=(const MotionInterpreter&) = delete;

    // The camera head steering moves, used by every later pass; without one, passes record but
    // move nothing.
    void SetCamera(SteeredCamera* camera) { m_camera = camera; }

    // The rest pose from the features of a newly found face (frame pixels).
    void SetRestPose(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX, float mouthY);
    // The dead zones in pixels from the distance percentages and the rest pose.
    void UpdatePixelThresholds();
    // The yaw and pitch cues of the last tracking step; the next sample takes them.
    void SetYawMeasure(double yaw);
    void SetPitchMeasure(double pitch);

    // One tracking step's features: adds the sample, smooths, then interprets.
    void AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX,
                   float mouthY) override;
    // One pass over the current smoothed measures: moves, sample files, values panel.
    void Interpret();

    void ShowValuesWindow();
    void HideValuesWindow();
    bool ValuesWindowOpen() const { return m_valuesWindowOpen; }

    bool OpenSampleFiles();
    // Writes the values of the passes so far when SampleFiles::kFlushIntervalMs have passed since
    // the last write (milliseconds since the program started).
    void FlushSampleFilesIfDue(double nowMs) { m_sampleFiles.FlushIfDue(nowMs); }
    void CloseSampleFiles();

    // The thresholds and switches the parameter dialogs edit. The pixel dead zones follow new
    // distances at the next UpdatePixelThresholds.
    MotionSettings& Settings() { return m_settings; }
    const MotionSettings& Settings() const { return m_settings; }

    const RestPose& Rest() const { return m_restPose; }
    float ThresholdX() const { return m_thresholdX; }
    float ThresholdY() const { return m_thresholdY; }
    float ThresholdZ() const { return m_thresholdZ; }
    // Each measure's dead zone as the next pass will use it: the pixel thresholds as last
    // recomputed, the turn and look thresholds as set, the roll's fixed 10 degrees.
    PerMeasure<DeadZone> DeadZones() const;
    // The program's smoothed measures and the number of samples added since it started.
    static const SmoothedHead& Smoothed();
    static std::uint32_t SampleCount();
    // What the last pass past the five-sample gate measured and decided, and how many such
    // passes this interpreter has made.
    const PassRecord& LastPass() const { return m_lastPass; }
    std::uint64_t PassCount() const { return m_passCount; }

private:
    // The steps of one pass. Those given `pass` record their offsets and whether they moved in
    // it; the look and turn steps return whether they moved (a level view is no move).
    void TurnByRoll(std::int32_t roll);
    bool LookByPitch(float pitch);
    void SideStep(PassRecord& pass);
    bool Walk(PassRecord& pass);
    void RiseOrDescend(PassRecord& pass);
    bool TurnByYaw(float yaw);
    void ShowValues(const PassRecord& pass);

    MotionSettings m_settings;
    RestPose m_restPose;
    float m_yawMeasure = 0.0f;
    float m_pitchMeasure = 0.0f;
    bool m_valuesWindowOpen = false;
    float m_thresholdX = 0.0f;
    float m_thresholdY = 0.0f;
    float m_thresholdZ = 0.0f;

    DebugWindows& m_windows;
    SteeredCamera* m_camera = nullptr;
    SampleFiles m_sampleFiles;
    PassRecord m_lastPass;
    std::uint64_t m_passCount = 0;
};
