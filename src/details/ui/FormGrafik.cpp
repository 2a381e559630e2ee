#include "details/ui/FormGrafik.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QValueAxis>
#include <cmath>

#include "shared/WindowPos.h"

namespace kal {

namespace {
constexpr int kChartTopTwips = 100;
constexpr int kChartHeightLessTwips = 700;
}  // namespace

FormGrafik::FormGrafik(QWidget* parent) : QWidget(parent) {
    setObjectName("FormGrafik");
    setWindowTitle("Graph Data");

    auto* chart = new QChart();
    chart->setTitle("Datas Graph");
    chart->legend()->hide();
    chart->setPlotAreaBackgroundBrush(QBrush(QColor(255, 255, 255)));
    chart->setPlotAreaBackgroundVisible(true);

    zero_ = new QLineSeries(chart);
    zero_->setColor(QColor(100, 100, 255));
    zero_->setMarkerSize(4);
    values_ = new QLineSeries(chart);
    values_->setColor(QColor(0, 0, 250));
    chart->addSeries(zero_);
    chart->addSeries(values_);

    axisX_ = new QValueAxis(chart);
    axisX_->setTitleText(QString());
    axisX_->setLabelFormat("%d");
    axisY_ = new QValueAxis(chart);
    axisY_->setTitleText("[dev.]");
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    for (QLineSeries* s : {zero_, values_}) {
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }

    view_ = new QChartView(chart, this);
    view_->setObjectName("Chart");
    view_->setRenderHint(QPainter::Antialiasing, false);
    resize(640, 420);
}

std::optional<ChartRange> FormGrafik::grafik(const std::vector<double>& values) {
    const std::optional<ChartRange> range = chartRangeOf(values);
    if (!range) return std::nullopt;

    // One list per series, handed over at once: the chart lays itself out once.
    QList<QPointF> zero, data;
    zero.reserve(static_cast<qsizetype>(values.size()));
    data.reserve(static_cast<qsizetype>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        zero.append(QPointF(static_cast<double>(i), 0.0));
        data.append(QPointF(static_cast<double>(i), values[i]));
    }
    zero_->setPointsVisible(values.size() <= kMaxMarkedPoints);
    zero_->replace(zero);
    values_->replace(data);
    // Rows are whole numbers: ticks at a whole step of 1, 2 or 5 times a power of ten, about ten
    // of them, so no label repeats.
    const double last = values.size() > 1 ? static_cast<double>(values.size() - 1) : 1.0;
    double step = 1;
    while (last / step > 10) {
        const double next = step * 2;
        step = last / next <= 10 ? next : (last / (step * 5) <= 10 ? step * 5 : step * 10);
    }
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0);
    axisX_->setTickInterval(step);
    axisX_->setRange(0, last);
    axisY_->setRange(-range->limit, range->limit);
    return range;
}

void FormGrafik::layoutChart() {
    // The outer window: the MDI frame around this form when it has one.
    const QWidget* outer = qobject_cast<const QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    const double heightTwips = pixelsToTwips(outer->height(), logicalDpiY());
    const int top = twipsToPixels(kChartTopTwips, logicalDpiY());
    const int height = twipsToPixels(std::fabs(heightTwips - kChartHeightLessTwips), logicalDpiY());
    // Inside this form, whose top-left lies inside the frame: never past its own edge.
    view_->setGeometry(0, top, width(), std::max(0, std::min(height, this->height() - top)));
}

void FormGrafik::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutChart();
}

void FormGrafik::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted() && !closedSent_) {
        closedSent_ = true;
        emit closed();
    }
}

}  // namespace kal
