#pragma once
// Scripted stand-ins for the platform layer. Each box is answered from a queue the test fills;
// every box shown is recorded. A box with no scripted answer fails the test instead of blocking.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kal::testing {

struct ShownBox {
    enum Kind { Message, Custom, Input } kind;
    std::string text;
    std::string title;
    platform::Buttons buttons = platform::Buttons::Ok;
    std::vector<std::string> captions;  // custom boxes
    std::string defaultText;            // input boxes
};

class FakePrompter : public platform::Prompter {
  public:
    // Answers for the next message boxes, in order. An OK-only box needs no scripted answer.
    void answer(platform::Answer a) { answers_.push_back(a); }
    void answerCustom(int button) { customAnswers_.push_back(button); }
    void answerInput(std::optional<std::string> text) { inputAnswers_.push_back(std::move(text)); }

  protected:
    platform::Answer showMessage(const std::string& text, platform::Buttons buttons, const std::string& title,
                                 platform::Icon icon) override;
    int showCustom(const std::string& text, const std::string& title,
                   const std::vector<std::string>& captions) override;
    std::optional<std::string> showInput(const std::string& prompt, const std::string& title,
                                         const std::string& defaultText) override;

  public:
    const std::vector<ShownBox>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    // True when every scripted answer was used.
    bool exhausted() const { return answers_.empty() && customAnswers_.empty() && inputAnswers_.empty(); }

  private:
    std::deque<platform::Answer> answers_;
    std::deque<int> customAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::vector<ShownBox> shown_;
};

class FakeClipboard : public platform::Clipboard {
  public:
    void clear() override { text_.clear(), writes_ += 1; }
    void setText(const std::string& utf8) override { text_ = utf8, writes_ += 1; }
    std::string text() const override { return text_; }
    int writes() const { return writes_; }

  private:
    std::string text_;
    int writes_ = 0;
};

class FakeEventPump : public platform::EventPump {
  public:
    void processEvents() override {
        ++calls_;
        if (onEvents_) onEvents_(calls_);
    }
    // Runs `f` whenever events are let through (to press STOP in the middle of a loop).
    void onEvents(std::function<void(int)> f) { onEvents_ = std::move(f); }
    int calls() const { return calls_; }

  private:
    int calls_ = 0;
    std::function<void(int)> onEvents_;
};

}  // namespace kal::testing
