#pragma once
// A progress window for tests: records what the search shows and stops when told to.
#include <string>
#include <vector>

#include "input/MatchProgress.h"

namespace kal::testing {

class FakeMatchProgress : public MatchProgress {
  public:
    void open(const std::string& caption) override {
        captions.push_back(caption);
        isOpen = true;
        stop = false;
    }
    void setValue(int percent) override { values.push_back(percent); }
    bool stopRequested() const override { return stop; }
    void close() override { isOpen = false, ++closes; }

    std::vector<std::string> captions;
    std::vector<int> values;
    bool stop = false;
    bool isOpen = false;
    int closes = 0;
};

}  // namespace kal::testing
