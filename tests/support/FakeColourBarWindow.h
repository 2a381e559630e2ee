#pragma once
// A graphics window as the colour-bar dialog sees it: its view record and point cloud, classified
// and coloured by the real functions, with counters of what the dialog asked of it.
#include <optional>

#include "annotation/ClassColours.h"
#include "annotation/ColourBarDialogModel.h"
#include "annotation/ToleranceClasses.h"
#include "platform/FontDialogs.h"

namespace kal::testing {

class FakeColourBarWindow : public ColourBarTarget {
  public:
    explicit FakeColourBarWindow(const JobState& job) : job_(job) {
        view.AnzKlassenPos = 10;
        view.AnzKlassenNeg = 10;
        view.CS_Type = "CART";
        view.ColorBased = "x";
        view.ADis = view.BDis = view.Cdis = 100;
        cloud.reset(2 * job.IdenticalCount);
    }
    ScreenProperties& colourSettings() override { return view; }
    bool& setMinMaxOnChange() override { return setMinMax; }
    void recolour(bool twoColour) override {
        ++recolours;
        lastTwoColour = twoColour;
        classifyDeviations(cloud, job_, view);
        colourRows(cloud, classColourSettings(view, twoColour));
    }
    const PointCloud& classifiedCloud() override {
        classifyDeviations(cloud, job_, view);
        return cloud;
    }
    void storeViewAndRedraw() override { ++redraws; }

    ScreenProperties view;
    PointCloud cloud;
    bool setMinMax = false;
    int recolours = 0, redraws = 0;
    bool lastTwoColour = false;

  private:
    const JobState& job_;
};

// The colour dialog answering a scripted colour, or cancelled (nullopt).
class FakeColourDialog : public platform::FontDialogs {
  public:
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override { return {}; }
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return answer; }
    std::optional<std::int32_t> answer;
};

// Identical points whose colour basis (dx, signed by "x") is -0.123, 0.2 and 0.567 mm.
inline JobState colourBarSampleJob() {
    JobState job;
    job.LengthFactor = 1;
    const double dx[] = {-0.123, 0.2, 0.567};
    job.IdenticalCount = 3;
    job.MCSt_X.resize(3);
    job.MCSt_Y.resize(3);
    job.MCSt_Z.assign(4, 0.0);
    job.OCS_X.resize(3);
    job.OCS_Y.resize(3);
    job.OCS_Z.assign(4, 0.0);
    for (int i = 1; i <= 3; ++i) {
        job.MCSt_X.set(i, 10 + dx[i - 1]);
        job.MCSt_Y.set(i, 0);
        job.OCS_X.set(i, 10);
        job.OCS_Y.set(i, 0);
    }
    job.UseFlags.assign(10, 1);
    return job;
}

}  // namespace kal::testing
