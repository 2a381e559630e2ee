#pragma once
// The windows around a calculation as subscribers of the job's change hub, counting what they
// hear, each in its slot: the result display (ResetArrows, FormThings), the graphics windows, the
// main sheet, the main window (ProgrammLogik), and the details and input statistics windows.
// `order` lists the calls in the order they came. A hook lets a test act inside FormThings.
#include <functional>
#include <string>
#include <vector>

#include "calculation/CalculationFlow.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal::testing {

class RecordingWindows {
  public:
    int formThings = 0, resetArrows = 0, graphics = 0, mainSheet = 0, programmLogik = 0;
    int detailsShown = 0, detailsClosed = 0, statisticsReopened = 0;
    std::vector<std::string> order;
    std::function<void()> onFormThings;

    RecordingWindows(JobEvents& events, const JobState& job) {
        subs_.push_back(events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay, [this] {
            ++resetArrows;
            ++formThings;
            order.push_back("FormThings");
            if (onFormThings) onFormThings();
        }));
        subs_.push_back(events.subscribe(JobEvent::ResultsChanged, Subscriber::Graphics, [this] {
            ++graphics;
            order.push_back("graphics");
        }));
        subs_.push_back(events.subscribe(JobEvent::ResultsChanged, Subscriber::MainSheet, [this] {
            ++mainSheet;
            order.push_back("mainSheet");
        }));
        subs_.push_back(events.subscribe(JobEvent::CalculationEnded, Subscriber::MainWindow, [this] {
            ++programmLogik;
            order.push_back("ProgrammLogik");
        }));
        subs_.push_back(events.subscribe(
            {JobEvent::CalculationStarted, JobEvent::CalculationEnded, JobEvent::PointsReplaced},
            Subscriber::Other, [this, &job](JobEvent e) {
                if (e == JobEvent::CalculationStarted) {
                    ++detailsClosed;
                    order.push_back("closeDetails");
                } else if (e == JobEvent::CalculationEnded && detailsShownAfterCalculation(job)) {
                    ++detailsShown;
                    order.push_back("showDetails");
                } else if (e == JobEvent::PointsReplaced) {
                    ++statisticsReopened;
                    order.push_back("reopenInputStatistics");
                }
            }));
    }

  private:
    std::vector<Subscription> subs_;
};

}  // namespace kal::testing
