#pragma once

// What choosing "Solo teclas" did, given whether the item was checked before.
enum class KeysOnlyOutcome {
    Checked,  // keyboard only from now on: the item gets its check mark
    Unchecked,  // head steering again: the check mark goes
    Refused,  // no webcam was found when play started: nothing changes, the player is told
};

// Switches the steering mode between keyboard only and head steering, as "Solo teclas" does.
// Keyboard only can always be chosen; head steering not while play runs without a camera.
KeysOnlyOutcome ToggleKeysOnly(bool checked);
