#include "tracking/ValuesPanel.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <tuple>

namespace {

PassRecord SamplePass()
{
    PassRecord pass;
    SmoothedHead& head = pass.head;
    std::tie(head.leftEyeX, head.rightEyeX, head.leftEyeY, head.rightEyeY, head.mouthX, head.mouthY) =
        std::make_tuple(101, 139, 98, 102, 120, 161);
    std::tie(head.average.yaw, head.average.pitch, head.average.roll) = std::make_tuple(-3.7f, 14.2f, -4);
    std::tie(pass.thresholdX, pass.thresholdY, pass.thresholdZ) = std::make_tuple(12.8f, 26.0f, 12.0f);
    return pass;
}

}

TEST(ValuesPanel, PositionsTurnsAndTheThreeDecisions)
{
    PassRecord pass = SamplePass();
    std::vector<std::string> expected = {"OjoX:Iz:101;Der:139", "OjoY:Iz:98;Der:102", "Boca X:120;Y:161",
                                         "Ang. Izq. Der.: -3",  "Ang. Arr. Aba.: 14", "Giro Z: -4",
                                         "X Sin movimiento",    "Y Sin movimiento",   "Z Sin movimiento"};
    EXPECT_EQ(ValuesPanel::Lines(pass), expected);
    const auto decisions = [&pass] {
        const std::vector<std::string> lines = ValuesPanel::Lines(pass);
        return std::vector<std::string>(lines.begin() + 6, lines.end());
    };
    std::tie(pass.dx, pass.dy, pass.signedDy, pass.dz) = std::make_tuple(20, 30, 30, 15);
    pass.faceRightOfRest = pass.faceNearer = true;
    EXPECT_EQ(decisions(), (std::vector<std::string>{"X Izquierda: 8", "Y Abajo: 4", "Z Adelante: 3"}));
    pass.faceRightOfRest = pass.faceNearer = false;
    pass.signedDy = -30;
    EXPECT_EQ(decisions(), (std::vector<std::string>{"X Derecha: 8", "Y Arriba: 4", "Z Atras: 3"}));
    // On the threshold x moves (its dead zone excludes it), y and z do not.
    std::tie(pass.dx, pass.thresholdX, pass.dy, pass.dz) = std::make_tuple(12, 12.0f, 26, 12);
    EXPECT_EQ(decisions(), (std::vector<std::string>{"X Derecha: 0", "Y Sin movimiento", "Z Sin movimiento"}));
}

TEST(ValuesPanel, DrawsTheLinesInWhiteThirtyPixelsApart)
{
    const cv::Mat panel = ValuesPanel::Draw(SamplePass());
    ASSERT_EQ(panel.size(), cv::Size(500, 270));
    ASSERT_EQ(panel.type(), CV_32SC1);
    cv::Mat expected(270, 500, CV_32SC1, cv::Scalar(0));
    for (int i = 0; i < 9; ++i)
        cv::putText(expected, ValuesPanel::Lines(SamplePass())[i], cv::Point(10, 20 + 30 * i), cv::FONT_HERSHEY_SIMPLEX,
                    0.75, cv::Scalar(0xFFFFFF), 3);
    EXPECT_EQ(cv::countNonZero(panel != expected), 0);
}
