#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace kal::testing {

platform::Answer FakePrompter::showMessage(const std::string& text, platform::Buttons buttons,
                                           const std::string& title, platform::Icon) {
    shown_.push_back(ShownBox{ShownBox::Message, text, title, buttons, {}, {}});
    if (buttons == platform::Buttons::Ok) {
        if (!answers_.empty() && answers_.front() == platform::Answer::Ok) answers_.pop_front();
        return platform::Answer::Ok;
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "Unscripted question: " << text;
        return buttons == platform::Buttons::YesNo ? platform::Answer::No : platform::Answer::Cancel;
    }
    auto a = answers_.front();
    answers_.pop_front();
    return a;
}

int FakePrompter::showCustom(const std::string& text, const std::string& title,
                             const std::vector<std::string>& captions) {
    shown_.push_back(ShownBox{ShownBox::Custom, text, title, platform::Buttons::Ok, captions, {}});
    if (customAnswers_.empty()) {
        ADD_FAILURE() << "Unscripted custom question: " << text;
        return static_cast<int>(captions.size());
    }
    int a = customAnswers_.front();
    customAnswers_.pop_front();
    return a;
}

std::optional<std::string> FakePrompter::showInput(const std::string& prompt, const std::string& title,
                                                   const std::string& defaultText) {
    shown_.push_back(ShownBox{ShownBox::Input, prompt, title, platform::Buttons::OkCancel, {}, defaultText});
    if (inputAnswers_.empty()) {
        ADD_FAILURE() << "Unscripted input box: " << prompt;
        return std::nullopt;
    }
    auto a = inputAnswers_.front();
    inputAnswers_.pop_front();
    return a;
}

std::vector<std::string> FakePrompter::texts() const {
    std::vector<std::string> out;
    for (const auto& b : shown_) out.push_back(b.text);
    return out;
}

}  // namespace kal::testing
