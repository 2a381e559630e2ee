#include "shell/MessageBoxCustom.h"

namespace kal {

std::vector<std::string> customButtonCaptions(const std::string& caption1, const std::string& caption2,
                                              const std::string& caption3) {
    if (!caption3.empty()) return {caption1, caption2, caption3};
    if (!caption2.empty()) return {caption1, caption2};
    return {caption1};
}

int showCustomMessageBox(platform::Prompter& prompter, const std::string& text, const std::string& title,
                         const std::string& caption1, const std::string& caption2,
                         const std::string& caption3) {
    const std::vector<std::string> captions = customButtonCaptions(caption1, caption2, caption3);
    const int n = static_cast<int>(captions.size());
    const int pressed = prompter.custom(text, title, captions);
    return (pressed >= 1 && pressed <= n) ? pressed : n;
}

}  // namespace kal
