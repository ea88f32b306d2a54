#pragma once

// The head tracker's two states; any other value makes a grabbed frame do nothing.
enum TrackerState { Tracking = 0, Detecting = 1 };
