#pragma once

// Where the placed models of the renderer's model set stand on the floor plan, and how much
// ground each covers, for the floor-plan tools. Positions are the models' translations; the
// extents are the sizes the level's models are built to.
struct ModelPlacement {
    int model;        // position in the model set
    const char* name;
    float x;
    float z;
    float halfWidth;  // half extent along x
    float halfDepth;  // half extent along z
    bool tall;        // rises above the walls, so it is seen over them
};

inline constexpr ModelPlacement kModelPlacements[] = {
    {1, "busto", -20.0f, -62.0f, 3.0f, 3.0f, false},
    {2, "iglesia", 0.0f, -25.0f, 52.0f, 24.0f, true},
    {14, "tumba1", -95.0f, 225.0f, 6.0f, 4.0f, false},
    {15, "puerta", -95.0f, 470.0f, 15.0f, 2.0f, false},
    {16, "cruz", -114.0f, 299.0f, 2.0f, 1.0f, false},
    {17, "cruz", 72.0f, 432.0f, 2.0f, 1.0f, false},
    {18, "cruz", -227.0f, 155.0f, 2.0f, 1.0f, false},
    {19, "torre2", 243.0f, 390.0f, 18.0f, 18.0f, true},
    {20, "torre", -291.0f, 478.0f, 9.0f, 12.0f, true},
    {21, "arco", -323.0f, 252.0f, 26.0f, 4.0f, false},
    {22, "cripta", 165.0f, 230.0f, 20.0f, 20.0f, true},
};
