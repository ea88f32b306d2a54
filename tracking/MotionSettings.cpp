#include "tracking/MotionSettings.h"

#include "tracking/SaturatingInt.h"
#include "tracking/ThresholdFile.h"

void MotionSettings::SetThreshold(std::int32_t DetectionThresholds::*threshold, std::int32_t value)
{
    m_thresholds.*threshold = value;
    m_thresholds.yawLeftLimit = NegateSaturating(m_thresholds.yawThreshold);
}

bool MotionSettings::LoadThresholds()
{
    return ThresholdFile::Load(m_thresholds);
}

bool MotionSettings::SaveThresholds() const
{
    return ThresholdFile::Save(m_thresholds);
}
