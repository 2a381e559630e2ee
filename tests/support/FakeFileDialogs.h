#pragma once
// Scripted file dialogs: each dialog takes the next answer (a path, or nullopt for Cancel) and
// records what it was asked. A dialog with no scripted answer fails the test instead of blocking.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace kal::testing {

struct ShownFileDialog {
    bool save = false;
    std::string title, filter, folder, defaultSuffix;
};

class FakeFileDialogs : public platform::FileDialogs {
  public:
    void answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& folder) override {
        shown_.push_back({false, title, filter, folder, {}});
        return next();
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& folder,
                                        const std::string& defaultSuffix) override {
        shown_.push_back({true, title, filter, folder, defaultSuffix});
        return next();
    }

    const std::vector<ShownFileDialog>& shown() const { return shown_; }
    bool exhausted() const { return answers_.empty(); }

  private:
    std::optional<std::string> next() {
        if (answers_.empty()) {
            ADD_FAILURE() << "a file dialog was shown with no scripted answer: " << shown_.back().title;
            return std::nullopt;
        }
        auto a = answers_.front();
        answers_.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers_;
    std::vector<ShownFileDialog> shown_;
};

}  // namespace kal::testing
