#include "ScoreChart.h"

#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "RecordStore.h"

namespace sulkan {

ScoreChart::ScoreChart(QWidget* parent)
    : QChartView(parent),
      m_line(new QLineSeries),
      m_dots(new QScatterSeries),
      m_runs(new QValueAxis),
      m_scores(new QValueAxis) {
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(160);
    QChart* c = chart();
    c->legend()->hide();
    m_dots->setMarkerSize(7);
    c->addSeries(m_line);
    c->addSeries(m_dots);
    m_runs->setLabelFormat(QStringLiteral("%d"));
    // Whole runs only: fixed ticks would label 1.5 as a second "1".
    m_runs->setTickType(QValueAxis::TicksDynamic);
    m_runs->setTickAnchor(1);
    m_runs->setTitleText(QStringLiteral("回"));
    m_scores->setRange(0, 105);
    m_scores->setTickType(QValueAxis::TicksDynamic);
    m_scores->setTickAnchor(0);
    m_scores->setTickInterval(25);
    m_scores->setLabelFormat(QStringLiteral("%d"));
    m_scores->setTitleText(QStringLiteral("点"));
    c->addAxis(m_runs, Qt::AlignBottom);
    c->addAxis(m_scores, Qt::AlignLeft);
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(m_line), static_cast<QAbstractSeries*>(m_dots)}) {
        s->attachAxis(m_runs);
        s->attachAxis(m_scores);
    }
    clear();
}

void ScoreChart::setRecordLines(const QString& title, const std::vector<std::string>& lines) {
    m_points.clear();
    QList<QPointF> drawn;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const RecordEntry e = ParseRecordLine(lines[i]);
        if (e.score < 0) continue;
        m_points.emplace_back(static_cast<int>(i) + 1, e.score);
        drawn.append(QPointF(static_cast<double>(i) + 1, e.score));
    }
    m_line->replace(drawn);
    m_dots->replace(drawn);
    const int runs = std::max<int>(2, static_cast<int>(lines.size()));
    // Half a run and a few points of room, so the dots at the ends are not cut by the frame.
    m_runs->setRange(0.5, runs + 0.5);
    m_runs->setTickInterval(std::max(1, (runs + 9) / 10));
    chart()->setTitle(title);
    m_runs->setVisible(true);
    m_scores->setVisible(true);
}

void ScoreChart::clear() {
    m_points.clear();
    m_line->clear();
    m_dots->clear();
    chart()->setTitle(QString());
    m_runs->setVisible(false);
    m_scores->setVisible(false);
}

bool ScoreChart::axesShown() const {
    return m_runs->isVisible() && m_scores->isVisible();
}

}  // namespace sulkan
