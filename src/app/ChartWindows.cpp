#include "app/ChartWindows.h"

#include <QApplication>
#include <QMdiArea>

#include "details/ChartRange.h"
#include "details/TrumpetGraph.h"
#include "shared/WindowPos.h"
#include "shell/EditCommands.h"

namespace kal {

namespace {
constexpr const char* kChartName = "FormGrafik";
constexpr const char* kTrumpetName = "FormTrompete";
}  // namespace

ChartWindows::ChartWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                           platform::FileDialogs& fileDialogs)
    : job_(job), events_(events), main_(main), prompter_(prompter), fileDialogs_(fileDialogs) {
    main_.connectCommand(Command::GraphData, [this] { graphData(); });
    main_.connectCommand(Command::DistanceScale, [this] { distanceScale(); });
    // Form_Activate of the analysis window, after the activation has settled (the analysis lets
    // events through, which must not happen inside the area's own signal).
    activation_ = QObject::connect(main_.mdiArea(), &QMdiArea::subWindowActivated, main_.mdiArea(),
                                   [this](QMdiSubWindow* sub) {
                                       if (!sub || sub != distanceSub_ || !distance_) return;
                                       QPointer<FormDistanceScale> form = distance_;
                                       QMetaObject::invokeMethod(
                                           form, [form] { form->activate(); }, Qt::QueuedConnection);
                                   });
    subscriptions_.push_back(
        events_.subscribe({JobEvent::JobReset, JobEvent::PointsReplaced, JobEvent::ResultsChanged,
                           JobEvent::CalculationEnded, JobEvent::UnitsChanged},
                          Subscriber::Other, [this](JobEvent e) {
                              if (!distance_) return;
                              if (e == JobEvent::UnitsChanged)
                                  distance_->refreshTexts();
                              else
                                  distance_->markJobChanged();
                          }));
}

ChartWindows::~ChartWindows() {
    subscriptions_.clear();
    QObject::disconnect(activation_);
    for (QMdiSubWindow* sub : {chartSub_.data(), distanceSub_.data(), trumpetSub_.data()})
        if (sub) delete sub;
}

void ChartWindows::showSub(QMdiSubWindow* sub) {
    sub->show();
    main_.mdiArea()->setActiveSubWindow(sub);
}

FormGrafik* ChartWindows::graphData() {
    if (!mayGraphSelection(job_.IdenticalCount, prompter_)) return nullptr;
    std::vector<double> values = job_.AuswahlPkt;
    if (job_.AnzAuswahl >= 0 && static_cast<std::size_t>(job_.AnzAuswahl) < values.size())
        values.resize(static_cast<std::size_t>(job_.AnzAuswahl));
    if (!hasRowsToGraph(values.size(), prompter_)) return nullptr;
    // A value the chart cannot take (no finite number): the chart's message, and no empty window.
    if (!chartRangeOf(values)) {
        prompter_.message(kChartFailedMessage);
        return nullptr;
    }
    if (!chart_) {
        chart_ = new FormGrafik();
        chartSub_ = main_.mdiArea()->addSubWindow(chart_);
        chartSub_->setAttribute(Qt::WA_DeleteOnClose);
        chartSub_->resize(chart_->size());
        main_.windowPositions().restore(chartSub_, kChartName);
        // A stored size too small for a chart (the default is 500 x 500 twips) is widened.
        chartSub_->resize(chartSub_->size().expandedTo(chartSub_->minimumSizeHint()));
        QObject::connect(chart_, &FormGrafik::closed, chart_, [this, sub = chartSub_] {
            main_.windowPositions().store(sub, kChartName);
            chart_ = nullptr;
            chartSub_ = nullptr;
        });
    }
    chart_->grafik(values);
    showSub(chartSub_);
    return chart_;
}

FormDistanceScale* ChartWindows::distanceScale() {
    if (!mayAnalyseDistances(job_.IdenticalCount, prompter_)) return nullptr;
    if (distance_) {
        showSub(distanceSub_);
        return distance_;
    }
    DistanceWindowServices s;
    s.prompter = &prompter_;
    s.fileDialogs = &fileDialogs_;
    s.events = &eventPump_;
    s.progress = &main_.progressWindow();
    s.setLongWorkRunning = [this](bool running) { main_.setLongWorkRunning(running); };
    s.analysed = [this](std::shared_ptr<const DistanceAnalysis> pairs) { trumpetPairs_ = std::move(pairs); };
    distance_ = new FormDistanceScale(job_, std::move(s));
    distanceSub_ = main_.mdiArea()->addSubWindow(distance_);
    distanceSub_->setAttribute(Qt::WA_DeleteOnClose);
    // 7900 x 7140 twips is the window's outer size; it does not store its position.
    distanceSub_->resize(twipsToPixels(7900, distance_->logicalDpiX()),
                         twipsToPixels(7140, distance_->logicalDpiY()));
    QObject::connect(distance_, &FormDistanceScale::trumpetGraphRequested, distance_,
                     [this] { trumpetGraph(); });
    QObject::connect(distance_, &FormDistanceScale::closed, distance_, [this] {
        distance_ = nullptr;
        distanceSub_ = nullptr;
    });
    showSub(distanceSub_);
    return distance_;
}

FormTrompete* ChartWindows::trumpetGraph() {
    if (trumpet_) {
        showSub(trumpetSub_);
        return trumpet_;
    }
    if (!trumpetPairs_ || drawingTrumpet_) return nullptr;
    const std::shared_ptr<const DistanceAnalysis> pairs = trumpetPairs_;
    ImageBuffer picture;
    // While the picture is drawn (events pass), the analysis window starts no work of its own.
    const QPointer<FormDistanceScale> analysisWindow = distance_;
    auto busy = [&](bool on) {
        drawingTrumpet_ = on;
        if (analysisWindow) analysisWindow->setEnabled(!on);
        main_.setLongWorkRunning(on);
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    busy(true);
    bool drawn = false;
    try {
        drawn = drawTrumpetGraph(*pairs, picture, {&eventPump_, &main_.progressWindow()});
    } catch (...) {
        busy(false);
        throw;
    }
    busy(false);
    if (!drawn) return nullptr;  // stopped: no window

    trumpet_ = new FormTrompete(std::move(picture));
    // A sizable tool window without minimise and maximise buttons; the system menu hint is what
    // gives a child window its close button (and its Close, Ctrl+F4).
    trumpetSub_ = main_.mdiArea()->addSubWindow(trumpet_, Qt::SubWindow | Qt::CustomizeWindowHint |
                                                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                              Qt::WindowCloseButtonHint);
    trumpetSub_->setAttribute(Qt::WA_DeleteOnClose);
    trumpetSub_->resize(trumpetSub_->sizeHint());
    main_.windowPositions().restore(trumpetSub_, kTrumpetName);
    QObject::connect(trumpet_, &FormTrompete::closed, trumpet_, [this, sub = trumpetSub_] {
        // Its own size is stored, never the work area it filled while the child windows were
        // maximised.
        if (sub->isMaximized() || sub->isMinimized()) sub->showNormal();
        main_.windowPositions().store(sub, kTrumpetName);
        trumpet_ = nullptr;
        trumpetSub_ = nullptr;
    });
    showSub(trumpetSub_);
    // The work area maximises a window activated while another is maximised; this one has no
    // maximise button and keeps its own size and place.
    if (trumpetSub_->isMaximized()) trumpetSub_->showNormal();
    return trumpet_;
}

}  // namespace kal
