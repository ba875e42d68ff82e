// The chart of a unit's scores over its runs, shown by the record viewer and the class overview.
#pragma once

#include <QtCharts/QChartView>
#include <string>
#include <vector>

namespace sulkan {

class ScoreChart : public QChartView {
    Q_OBJECT
public:
    explicit ScoreChart(QWidget* parent = nullptr);
    // The scores of the record lines (CP932) in run order; lines without a score are left out.
    void setRecordLines(const QString& title, const std::vector<std::string>& lines);
    // The points drawn: (run, score).
    std::vector<std::pair<int, int>> points() const { return m_points; }

private:
    std::vector<std::pair<int, int>> m_points;
};

}  // namespace sulkan
