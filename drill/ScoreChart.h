// The chart of a unit's scores over its runs, shown by the record viewer and the class overview.
#pragma once

#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <string>
#include <vector>

namespace sulkan {

class ScoreChart : public QChartView {
    Q_OBJECT
public:
    explicit ScoreChart(QWidget* parent = nullptr);
    // The scores of the record lines (CP932) in run order; lines without a score are left out.
    void setRecordLines(const QString& title, const std::vector<std::string>& lines);
    // Nothing chosen: no title, no axes, no points.
    void clear();
    // The points drawn: (run, score).
    std::vector<std::pair<int, int>> points() const { return m_points; }
    // Whether the axes are drawn (only while a unit's runs are shown).
    bool axesShown() const;

private:
    std::vector<std::pair<int, int>> m_points;
    // Made once and kept: the chart never holds more than this one pair of axes.
    QLineSeries* m_line;
    QScatterSeries* m_dots;
    QValueAxis* m_runs;
    QValueAxis* m_scores;
};

}  // namespace sulkan
