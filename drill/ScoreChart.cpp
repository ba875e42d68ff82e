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
    for (QAbstractAxis* axis : c->axes()) c->removeAxis(axis);
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
    x->setRange(1, std::max<int>(2, static_cast<int>(lines.size())));
    x->setTitleText(QStringLiteral("回"));
    auto* y = new QValueAxis;
    y->setRange(0, 100);
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
