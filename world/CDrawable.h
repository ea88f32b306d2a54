#pragma once

// Something the renderer can draw.
class CDrawable {
public:
    virtual void Draw() = 0;
    virtual ~CDrawable() = default;
};
