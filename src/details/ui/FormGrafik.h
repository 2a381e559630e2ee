#pragma once
// The data chart window (caption "Graph Data"): a list of values as a line beside a zero line, on a
// value axis symmetric about zero and rounded up to a tidy limit (chartRangeOf). Each series is
// filled at once; point markers are drawn only for short lists, so a long selection charts as fast
// as a short one.
#include <QWidget>
#include <optional>
#include <vector>

#include "details/ChartRange.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace kal {

class FormGrafik : public QWidget {
    Q_OBJECT
  public:
    // Above this many values the zero line draws no point markers.
    static constexpr std::size_t kMaxMarkedPoints = 2000;

    explicit FormGrafik(QWidget* parent = nullptr);

    // Charts `values` (Grafik): the zero line, the values and the axis from -L to L. Returns the
    // range, or nullopt (the chart unchanged) when there is nothing to chart; the caller shows
    // kChartFailedMessage then.
    std::optional<ChartRange> grafik(const std::vector<double>& values);

    // ---- Controls ----
    QChartView* chartView() const { return view_; }  // the control `Chart`
    QLineSeries* zeroSeries() const { return zero_; }
    QLineSeries* valueSeries() const { return values_; }
    QValueAxis* valueAxis() const { return axisY_; }
    QValueAxis* categoryAxis() const { return axisX_; }

    // Room for the axes, the title and a readable plot: a stored size below it (the settings'
    // default is 500 x 500 twips) is widened to it.
    QSize minimumSizeHint() const override { return {420, 300}; }

  signals:
    void closed();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void layoutChart();

    QChartView* view_ = nullptr;
    QLineSeries* zero_ = nullptr;
    QLineSeries* values_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    bool closedSent_ = false;
};

}  // namespace kal
