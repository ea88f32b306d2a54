#pragma once

#include <QRect>
#include <QSize>

class QFont;

// Dialog layouts are given in dialog units: a quarter of the font's average character width
// across, an eighth of its height down. This turns them into pixels for a font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }
    QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }

private:
    int m_baseX;
    int m_baseY;
};
