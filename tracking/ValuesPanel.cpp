#include "tracking/ValuesPanel.h"

#include "faceanalysis/TruncateTowardZero.h"

#include <opencv2/imgproc.hpp>

#include <cstdarg>
#include <cstdio>

namespace {

__attribute__((format(printf, 1, 2))) std::string Formatted(const char* format, ...)
{
    char text[64];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace

std::vector<std::string> ValuesPanel::Lines(const PassRecord& pass)
{
    const SmoothedHead& head = pass.head;
    std::vector<std::string> lines;
    lines.push_back(Formatted("OjoX:Iz:%d;Der:%d", head.leftEyeX, head.rightEyeX));
    lines.push_back(Formatted("OjoY:Iz:%d;Der:%d", head.leftEyeY, head.rightEyeY));
    lines.push_back(Formatted("Boca X:%d;Y:%d", head.mouthX, head.mouthY));
    lines.push_back(Formatted("Ang. Izq. Der.: %d", TruncateTowardZero(head.average.yaw)));
    lines.push_back(Formatted("Ang. Arr. Aba.: %d", TruncateTowardZero(head.average.pitch)));
    lines.push_back(Formatted("Giro Z: %d", head.average.roll));

    if (!pass.OutsideX())
        lines.push_back("X Sin movimiento");
    else
        lines.push_back(Formatted(pass.faceRightOfRest ? "X Izquierda: %d" : "X Derecha: %d", pass.BeyondX()));
    if (!pass.OutsideY())
        lines.push_back("Y Sin movimiento");
    else
        lines.push_back(Formatted(pass.signedDy > 0 ? "Y Abajo: %d" : "Y Arriba: %d", pass.BeyondY()));
    if (!pass.OutsideZ())
        lines.push_back("Z Sin movimiento");
    else
        lines.push_back(Formatted(pass.faceNearer ? "Z Adelante: %d" : "Z Atras: %d", pass.BeyondZ()));
    return lines;
}

cv::Mat ValuesPanel::Draw(const PassRecord& pass)
{
    cv::Mat canvas(kHeight, kWidth, CV_32SC1, cv::Scalar(0));
    int baseline = 20;
    for (const std::string& line : Lines(pass)) {
        cv::putText(canvas, line, cv::Point(10, baseline), cv::FONT_HERSHEY_SIMPLEX, 0.75, cv::Scalar(16777215), 3);
        baseline += 30;
    }
    return canvas;
}
