#pragma once

// Which head movements steer (the movement options dialog); all on at start.
struct MovementOptions {
    bool moveZ = true;  // walk forward and back
    bool moveX = true;  // side-step
    bool rotateX = true;  // turn by yaw
    bool rotateY = true;  // look up and down by pitch
    bool rotateZ = true;  // turn by roll
    bool moveY = true;  // rise and descend
};
