#include "ScoreChart.h"

#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "RecordStore.h"

namespace sulkan {

ScoreChart::ScoreChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    setMinimumHeight(160);
}

void ScoreChart::setRecordLines(const QString& title, const std::vector<std::string>& lines) {
    m_points.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const RecordEntry e = ParseRecordLine(lines[i]);
        if (e.score >= 0) m_points.emplace_back(static_cast<int>(i) + 1, e.score);
    }
    QChart* c = chart();
    c->removeAllSeries();
    // A removed axis is no longer the chart's: it is ours to delete.
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    c->setTitle(title);
    auto* line = new QLineSeries;
    auto* dots = new QScatterSeries;
    dots->setMarkerSize(7);
    for (auto [run, score] : m_points) {
        line->append(run, score);
        dots->append(run, score);
    }
    c->addSeries(line);
    c->addSeries(dots);
    auto* x = new QValueAxis;
    x->setLabelFormat(QStringLiteral("%d"));
    const int runs = std::max<int>(2, static_cast<int>(lines.size()));
    // Half a run and a few points of room, so the dots at the ends are not cut by the frame.
    x->setRange(0.5, runs + 0.5);
    // Whole runs only: fixed ticks would label 1.5 as a second "1".
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    x->setTickInterval(std::max(1, (runs + 9) / 10));
    x->setTitleText(QStringLiteral("回"));
    auto* y = new QValueAxis;
    y->setRange(0, 105);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(25);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("点"));
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : c->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

}  // namespace sulkan
