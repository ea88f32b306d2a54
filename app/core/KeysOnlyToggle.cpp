#include "app/core/KeysOnlyToggle.h"

#include "app/core/ProcessSettings.h"

KeysOnlyOutcome ToggleKeysOnly(bool checked)
{
    if (!checked) {
        g_steeringMode = KeysOnly;
        return KeysOnlyOutcome::Checked;
    }
    if (g_steeringMode == NoCamera)
        return KeysOnlyOutcome::Refused;
    g_steeringMode = HeadSteering;
    return KeysOnlyOutcome::Unchecked;
}
