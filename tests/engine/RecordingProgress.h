#pragma once
// Records the status-bar texts a calculation writes, in order, and counts the repaints.
#include <string>
#include <utility>
#include <vector>

#include "engine/CalcProgress.h"

namespace kal::testing {

class RecordingProgress : public CalcProgress {
  public:
    void setPanelText(int panel, const std::string& text) override { texts.emplace_back(panel, text); }
    void repaint() override { ++repaints; }

    // The texts of one panel, in order.
    std::vector<std::string> panel(int k) const {
        std::vector<std::string> out;
        for (const auto& [p, t] : texts)
            if (p == k) out.push_back(t);
        return out;
    }

    std::vector<std::pair<int, std::string>> texts;
    int repaints = 0;
};

}  // namespace kal::testing
