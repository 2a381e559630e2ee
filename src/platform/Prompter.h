#pragma once
// Message boxes and the input box, as the core and the windows ask for them. The windows'
// implementation shows Qt dialogs; tests answer through a scripted fake and never block.
#include <optional>
#include <string>
#include <vector>

namespace kal::platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Answer { Ok, Cancel, Yes, No };

class Prompter {
  public:
    virtual ~Prompter() = default;

    // A message box. An empty title shows the program's name. Closing the box by its close box
    // or Escape answers Cancel, or No for a Yes/No box.
    Answer message(const std::string& text, Buttons buttons = Buttons::Ok, const std::string& title = {},
                   Icon icon = Icon::None) {
        return showMessage(text, buttons, title, icon);
    }

    // A question with buttons captioned by the caller (at most three). Returns 1, 2 or 3 for the
    // button pressed; the close box or Escape returns the last button's number.
    int custom(const std::string& text, const std::string& title, const std::vector<std::string>& captions) {
        return showCustom(text, title, captions);
    }

    // The input box: a prompt, a title and a default text. nullopt when cancelled.
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
        return showInput(prompt, title, defaultText);
    }

  protected:
    virtual Answer showMessage(const std::string& text, Buttons buttons, const std::string& title,
                               Icon icon) = 0;
    virtual int showCustom(const std::string& text, const std::string& title,
                           const std::vector<std::string>& captions) = 0;
    virtual std::optional<std::string> showInput(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) = 0;
};

// The program's name, the title of message boxes that name none.
inline constexpr const char* kProgramName = "Kalvoreth";

}  // namespace kal::platform
