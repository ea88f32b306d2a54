#include "tracking/ValuesPanel.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace {

PassRecord SamplePass()
{
    PassRecord pass;
    pass.head.leftEyeX = 101;
    pass.head.rightEyeX = 139;
    pass.head.leftEyeY = 98;
    pass.head.rightEyeY = 102;
    pass.head.mouthX = 120;
    pass.head.mouthY = 161;
    pass.head.average.yaw = -3.7f;
    pass.head.average.pitch = 14.2f;
    pass.head.average.roll = -4;
    pass.thresholdX = 12.8f;
    pass.thresholdY = 26.0f;
    pass.thresholdZ = 12.0f;
    return pass;
}

}

TEST(ValuesPanel, PositionsTurnsAndNoMovement)
{
    const std::vector<std::string> expected = {
        "OjoX:Iz:101;Der:139", "OjoY:Iz:98;Der:102", "Boca X:120;Y:161",
        "Ang. Izq. Der.: -3",  "Ang. Arr. Aba.: 14", "Giro Z: -4",
        "X Sin movimiento",    "Y Sin movimiento",   "Z Sin movimiento"};
    EXPECT_EQ(ValuesPanel::Lines(SamplePass()), expected);
}

TEST(ValuesPanel, DecisionsPrintPositiveExcesses)
{
    PassRecord pass = SamplePass();
    pass.dx = 20;
    pass.faceRightOfRest = true;
    pass.dy = 30;
    pass.signedDy = 30;
    pass.dz = 15;
    pass.faceNearer = true;
    std::vector<std::string> lines = ValuesPanel::Lines(pass);
    EXPECT_EQ(lines[6], "X Izquierda: 8");
    EXPECT_EQ(lines[7], "Y Abajo: 4");
    EXPECT_EQ(lines[8], "Z Adelante: 3");

    pass.faceRightOfRest = false;
    pass.signedDy = -30;
    pass.faceNearer = false;
    lines = ValuesPanel::Lines(pass);
    EXPECT_EQ(lines[6], "X Derecha: 8");
    EXPECT_EQ(lines[7], "Y Arriba: 4");
    EXPECT_EQ(lines[8], "Z Atras: 3");

    // On the threshold: x moves (its dead zone excludes it), y and z do not.
    pass.dx = 12;
    pass.thresholdX = 12.0f;
    pass.dy = 26;
    pass.dz = 12;
    lines = ValuesPanel::Lines(pass);
    EXPECT_EQ(lines[6], "X Derecha: 0");
    EXPECT_EQ(lines[7], "Y Sin movimiento");
    EXPECT_EQ(lines[8], "Z Sin movimiento");
}

TEST(ValuesPanel, DrawsNineWhiteLinesThirtyPixelsApart)
{
    const cv::Mat panel = ValuesPanel::Draw(SamplePass());
    ASSERT_EQ(panel.cols, 500);
    ASSERT_EQ(panel.rows, 270);
    ASSERT_EQ(panel.type(), CV_32SC1);

    cv::Mat expected(270, 500, CV_32SC1, cv::Scalar(0));
    const char* const texts[] = {"OjoX:Iz:101;Der:139", "OjoY:Iz:98;Der:102", "Boca X:120;Y:161",
                                 "Ang. Izq. Der.: -3",  "Ang. Arr. Aba.: 14", "Giro Z: -4",
                                 "X Sin movimiento",    "Y Sin movimiento",   "Z Sin movimiento"};
    const int baselines[] = {20, 50, 80, 110, 140, 170, 200, 230, 260};
    for (int i = 0; i < 9; ++i)
        cv::putText(expected, texts[i], cv::Point(10, baselines[i]), cv::FONT_HERSHEY_SIMPLEX, 0.75,
                    cv::Scalar(0xFFFFFF), 3);
    EXPECT_EQ(cv::countNonZero(panel != expected), 0);

    // Only black and 0xFFFFFF (which HighGUI shows as white) are painted.
    const int white = cv::countNonZero(panel == 0xFFFFFF);
    EXPECT_GT(white, 1000);
    EXPECT_EQ(white + cv::countNonZero(panel == 0), 500 * 270);
}
