#pragma once
// The data chart, the distance and scale analysis and the trumpet graph in the program. The Edit
// menu's "Graph Data" charts the values the last right-button selection left (AuswahlPkt, from the
// sheet's or the point table's values, never re-read from their texts); "&Distance Scale" opens
// the analysis, which runs when its window is activated after the job changed; its "Trumpet
// Graph" button draws the pairs of the last analysis (TrumpetPairs, kept here so they outlive the
// analysis window) into a window of their own.
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <vector>

#include "details/DistanceAnalysis.h"
#include "details/ui/FormDistanceScale.h"
#include "details/ui/FormGrafik.h"
#include "details/ui/FormTrompete.h"
#include "platform/FileDialogs.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class ChartWindows {
  public:
    ChartWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                 platform::FileDialogs& fileDialogs);
    ~ChartWindows();
    ChartWindows(const ChartWindows&) = delete;
    ChartWindows& operator=(const ChartWindows&) = delete;

    // "Graph Data" (MenuEditGraphData_Click): without identical points, or with nothing to chart,
    // a message and no window; else the chart window shows the values. Returns the window shown.
    FormGrafik* graphData();
    // "&Distance Scale" (MenuTransformationDistanceScale_Click): opens (or brings forward) the
    // analysis window when the job has an identical point.
    FormDistanceScale* distanceScale();
    // "Trumpet Graph" (BtnTrumpetGraph_Click): an open trumpet window is brought forward as it
    // is; else the pairs of the last analysis are drawn (with progress; Stop opens nothing).
    FormTrompete* trumpetGraph();

    FormGrafik* chartWindow() const { return chart_; }
    FormDistanceScale* distanceWindow() const { return distance_; }
    FormTrompete* trumpetWindow() const { return trumpet_; }
    // TrumpetPairs: the last completed analysis; null before the first.
    const std::shared_ptr<const DistanceAnalysis>& trumpetPairs() const { return trumpetPairs_; }

  private:
    void showSub(QMdiSubWindow* sub);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    platform::FileDialogs& fileDialogs_;
    platform::QtEventPump eventPump_;
    std::shared_ptr<const DistanceAnalysis> trumpetPairs_;
    QPointer<QMdiSubWindow> chartSub_, distanceSub_, trumpetSub_;
    QPointer<FormGrafik> chart_;
    QPointer<FormDistanceScale> distance_;
    QPointer<FormTrompete> trumpet_;
    QMetaObject::Connection activation_;
    bool drawingTrumpet_ = false;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
