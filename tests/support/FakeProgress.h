#pragma once
// A progress window for tests: records what a loop shows, stops when told to, and lets a test act
// when a value is written (press STOP in run 3, throw in run 50).
#include <functional>
#include <string>
#include <vector>

#include "platform/Progress.h"

namespace kal::testing {

class FakeProgress : public platform::Progress {
  public:
    void open(const std::string& caption) override {
        captions.push_back(caption);
        isOpen = true;
        stop = false;
    }
    void setValue(int percent) override {
        values.push_back(percent);
        if (onValue) onValue(percent);
    }
    bool stopRequested() const override { return stop; }
    void close() override { isOpen = false, ++closes; }

    std::vector<std::string> captions;
    std::vector<int> values;
    std::function<void(int)> onValue;
    bool stop = false;
    bool isOpen = false;
    int closes = 0;
};

}  // namespace kal::testing
