#include "app/HeadPlotWindow.h"

#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/HeadScenes.h"
#include "tools/replay/Replay.h"

#include <QTest>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QXYSeries>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

using namespace QtCharts;

QAbstractSeries* Series(const QChart& chart, const char* name)
{
    for (QAbstractSeries* series : chart.series())
        if (series->name() == QString::fromUtf8(name))
            return series;
    ADD_FAILURE() << "no series " << name;
    return nullptr;
}

// Points of a line or scatter series by frame (times are frame / 25).
std::map<int, double> ByFrame(const QAbstractSeries* series)
{
    std::map<int, double> points;
    for (const QPointF& point : static_cast<const QXYSeries*>(series)->pointsVector())
        points[static_cast<int>(std::lround(point.x() * 25.0))] = point.y();
    return points;
}

}  // namespace

// A head that rests, then moves to one side beyond the side-step dead zone and back, played by
// the replay: the eye-centre strip leaves its band exactly on the frames the replay side-steps,
// and marks those frames.
TEST(HeadPlotWindow, TheSideStepStripLeavesItsBandWhereTheReplaySideStepsAndMarksThoseFrames)
{
    TemporaryFolder folder;
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:30,right:110", error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(headscenes::Writer().Write(*script, "lado.avi", "lado.csv", error)) << error;
    Replay replay;
    ASSERT_TRUE(replay.Open("lado.avi", false));

    auto plot = std::make_unique<HeadPlotWindow>();
    plot->show();
    std::map<int, bool> sideSteps;
    const MotionInterpreter& interpreter = replay.Tracker().Interpreter();
    for (std::uint64_t passes = interpreter.PassCount();; passes = interpreter.PassCount()) {
        const std::optional<ReplayLine> line = replay.Step();
        if (!line)
            break;
        if (interpreter.PassCount() == passes)
            continue;
        plot->SetDeadZones(interpreter.DeadZones());
        plot->AddPass(line->frame / 25.0, interpreter.LastPass());
        const std::string moves = "+" + line->moves + "+";
        sideSteps[line->frame] =
            moves.find("+left+") != std::string::npos || moves.find("+right+") != std::string::npos;
    }

    const QChart& strip = plot->Strip(MeasureEyeCentreX);
    const auto* zone = static_cast<const QAreaSeries*>(Series(strip, HeadPlotWindow::kZoneSeries));
    const double high = zone->upperSeries()->at(0).y();
    EXPECT_EQ(zone->lowerSeries()->at(0).y(), -high);
    EXPECT_EQ(high, interpreter.ThresholdX());
    const std::map<int, double> measures = ByFrame(Series(strip, HeadPlotWindow::kMeasureSeries));
    const std::map<int, double> marks = ByFrame(Series(strip, HeadPlotWindow::kMoveSeries));
    ASSERT_EQ(measures.size(), sideSteps.size());
    int stepped = 0;
    for (const auto& [frame, measure] : measures) {
        const bool outside = std::abs(measure) > high;
        EXPECT_EQ(outside, sideSteps[frame]) << "frame " << frame << ": " << measure << " against " << high;
        EXPECT_EQ(marks.count(frame) == 1, sideSteps[frame]) << "frame " << frame;
        stepped += sideSteps[frame];
    }
    // The face went right in the picture (the player's left); half the move is beyond the dead zone.
    EXPECT_GT(stepped, 30);
    EXPECT_LT(stepped, static_cast<int>(measures.size()) - 30);
    EXPECT_EQ(marks.begin()->second, measures.at(marks.begin()->first)) << "the marks sit on the measure";
    EXPECT_GT(marks.begin()->second, high);

    // The band's lines go with it, not before it while the chart still holds it.
    std::vector<const QObject*> gone;
    for (const QObject* series : std::initializer_list<const QObject*>{zone, zone->upperSeries(), zone->lowerSeries()})
        QObject::connect(series, &QObject::destroyed, [&gone, series] { gone.push_back(series); });
    plot.reset();
    ASSERT_EQ(gone.size(), 3u);
    EXPECT_EQ(gone.front(), zone);
}
