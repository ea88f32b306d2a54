#include "app/HeadPlotWindow.h"

#include <QVBoxLayout>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>

using namespace QtCharts;

namespace {

// What each strip shows and what its move is, in measure order.
const char* const kStripTitles[kSteeringMeasureCount] = {
    "Centro de los ojos, x (píxeles desde el reposo): paso a un lado",
    "Distancia de ojos a boca (píxeles desde el reposo): andar",
    "Centro de la cara, y (píxeles desde el reposo): subir y bajar",
    "Giro X (pixeles): girar",
    "Giro Y (pixeles): mirar arriba y abajo",
    "Giro Z (grados): girar y nada más",
};
const char* const kStripNames[kSteeringMeasureCount] = {"eyeCentreX", "eyeMouth", "faceCentreY",
                                                        "yaw",        "pitch",    "roll"};

constexpr int kStripHeight = 120;
constexpr int kWindowWidth = 560;

void SetSmallFont(QChart& chart)
{
    QFont font = chart.titleFont();
    font.setPointSize(8);
    chart.setTitleFont(font);
}

}  // namespace

HeadPlotWindow::HeadPlotWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QString::fromUtf8(kTitle));
    // The keys stay with the game.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int m = 0; m < kSteeringMeasureCount; ++m) {
        StripSeries& strip = m_strips[m];
        strip.chart = new QChart;
        strip.chart->setTitle(QString::fromUtf8(kStripTitles[m]));
        SetSmallFont(*strip.chart);
        strip.chart->legend()->hide();
        strip.chart->setMargins(QMargins(2, 0, 2, 0));
        strip.chart->setBackgroundRoundness(0);

        strip.zoneLow = new QLineSeries;
        strip.zoneHigh = new QLineSeries;
        auto* zone = new QAreaSeries(strip.zoneHigh, strip.zoneLow);
        zone->setName(QString::fromUtf8(kZoneSeries));
        zone->setBrush(QColor(110, 160, 230, 90));
        zone->setPen(QPen(QColor(80, 130, 200), 1.0));
        strip.measure = new QLineSeries;
        strip.measure->setName(QString::fromUtf8(kMeasureSeries));
        strip.measure->setPen(QPen(QColor(30, 30, 30), 1.5));
        strip.moves = new QScatterSeries;
        strip.moves->setName(QString::fromUtf8(kMoveSeries));
        strip.moves->setMarkerSize(6.0);
        strip.moves->setColor(QColor(220, 40, 40));
        strip.moves->setBorderColor(QColor(220, 40, 40));

        strip.time = new QValueAxis;
        strip.time->setLabelFormat(QStringLiteral("%.0f s"));
        strip.value = new QValueAxis;
        strip.value->setLabelFormat(QStringLiteral("%.0f"));
        // More labels would not fit the strip's height.
        strip.value->setTickCount(3);
        strip.chart->addAxis(strip.time, Qt::AlignBottom);
        strip.chart->addAxis(strip.value, Qt::AlignLeft);
        for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{zone, strip.measure, strip.moves}) {
            strip.chart->addSeries(series);
            series->attachAxis(strip.time);
            series->attachAxis(strip.value);
        }
        // The area series owns neither of its lines: they go with it, once the chart has taken it
        // (until then it is a child of its upper line).
        strip.zoneLow->setParent(zone);
        strip.zoneHigh->setParent(zone);
        for (QValueAxis* axis : {strip.time, strip.value}) {
            QFont font = axis->labelsFont();
            font.setPointSize(7);
            axis->setLabelsFont(font);
        }

        auto* view = new QChartView(strip.chart, this);
        view->setObjectName(QString::fromLatin1(kStripNames[m]));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(kStripHeight);
        layout->addWidget(view);
    }
    resize(kWindowWidth, kSteeringMeasureCount * kStripHeight);
    Redraw();
}

void HeadPlotWindow::AddPass(double seconds, const PassRecord& pass)
{
    m_points.push_back({seconds, pass.Measures(), pass.moved});
    while (m_points.front().seconds < seconds - kSpanSeconds)
        m_points.pop_front();
    if (isVisible())
        Redraw();
}

void HeadPlotWindow::SetDeadZones(const PerMeasure<DeadZone>& zones)
{
    if (zones == m_zones)
        return;
    m_zones = zones;
    if (isVisible())
        Redraw();
}

void HeadPlotWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Redraw();
}

void HeadPlotWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit Closed();
}

void HeadPlotWindow::Redraw()
{
    const double end = m_points.empty() ? kSpanSeconds : m_points.back().seconds;
    const double start = end - kSpanSeconds;
    for (int m = 0; m < kSteeringMeasureCount; ++m) {
        StripSeries& strip = m_strips[m];
        const DeadZone& zone = m_zones[m];
        double low = std::min(zone.low, zone.high);
        double high = std::max(zone.low, zone.high);
        QVector<QPointF> line;
        QVector<QPointF> moves;
        line.reserve(static_cast<int>(m_points.size()));
        for (const Point& point : m_points) {
            const QPointF at(point.seconds, point.measures[m]);
            line.append(at);
            if (point.moved[m])
                moves.append(at);
            low = std::min(low, at.y());
            high = std::max(high, at.y());
        }
        strip.measure->replace(line);
        strip.moves->replace(moves);
        strip.zoneLow->replace(QVector<QPointF>{{start, zone.low}, {end, zone.low}});
        strip.zoneHigh->replace(QVector<QPointF>{{start, zone.high}, {end, zone.high}});
        const double margin = std::max(1.0, (high - low) * 0.1);
        strip.time->setRange(start, end);
        strip.value->setRange(low - margin, high + margin);
    }
}
