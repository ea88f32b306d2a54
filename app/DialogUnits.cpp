#include "app/DialogUnits.h"

#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // Average width over the 52 letters, rounded.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = metrics.height();
}

int DialogUnits::X(int units) const
{
    return (units * m_baseX + 2) / 4;
}

int DialogUnits::Y(int units) const
{
    return (units * m_baseY + 4) / 8;
}
