#pragma once

#include "tracking/PassRecord.h"
#include "tracking/SteeringMeasure.h"

#include <QWidget>

#include <deque>

namespace QtCharts {
class QChart;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
}  // namespace QtCharts

// "Gráficas": for tuning the dead zones, the last 20 seconds of the six measures head steering
// decides on, each in a strip of its own: the measure as a line over its dead zone (shaded),
// with a mark on every pass that made its move. Fed with the passes as they come, at the
// capture rate; drawn only while shown.
class HeadPlotWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Gráficas";
    static constexpr double kSpanSeconds = 20.0;
    // Names of each strip's series.
    static constexpr const char* kZoneSeries = "zona muerta";
    static constexpr const char* kMeasureSeries = "medida";
    static constexpr const char* kMoveSeries = "movimientos";

    explicit HeadPlotWindow(QWidget* parent = nullptr);

    // A pass at `seconds` on a clock that only goes forward; older passes than the span drop out.
    void AddPass(double seconds, const PassRecord& pass);
    // The dead zones to shade from now on.
    void SetDeadZones(const PerMeasure<DeadZone>& zones);

    // The strip of a measure.
    QtCharts::QChart& Strip(SteeringMeasure measure) const { return *m_strips[measure].chart; }

signals:
    // The player closed the window.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct StripSeries {
        QtCharts::QChart* chart = nullptr;
        QtCharts::QLineSeries* zoneLow = nullptr;
        QtCharts::QLineSeries* zoneHigh = nullptr;
        QtCharts::QLineSeries* measure = nullptr;
        QtCharts::QScatterSeries* moves = nullptr;
        QtCharts::QValueAxis* time = nullptr;
        QtCharts::QValueAxis* value = nullptr;
    };
    struct Point {
        double seconds = 0.0;
        PerMeasure<float> measures{};
        PerMeasure<bool> moved{};
    };

    void Redraw();

    PerMeasure<StripSeries> m_strips;
    std::deque<Point> m_points;
    PerMeasure<DeadZone> m_zones{};
};
