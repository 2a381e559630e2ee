#pragma once
// Problems with the settings file are told once per run: the first one is shown, later ones
// (a window position that cannot be stored after the file turned out read-only) are not. The
// program carries on in every case.
#include <string>

#include "platform/Prompter.h"

namespace kal {

class SettingsProblems {
  public:
    explicit SettingsProblems(platform::Prompter& prompter) : prompter_(prompter) {}

    void report(const std::string& text) {
        if (reported_) return;
        reported_ = true;
        prompter_.message(text, platform::Buttons::Ok, {}, platform::Icon::Exclamation);
    }
    bool reported() const { return reported_; }

  private:
    platform::Prompter& prompter_;
    bool reported_ = false;
};

}  // namespace kal
