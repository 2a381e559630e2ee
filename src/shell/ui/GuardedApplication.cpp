#include "shell/ui/GuardedApplication.h"

#include <cstdio>
#include <exception>
#include <string>

namespace kal {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("unknown error");
    }
    return false;
}

void GuardedApplication::report(const std::string& what) {
    const std::string text = "An unexpected error stopped the command:\n\n" + what;
    // The message box runs its own event loop; a second failure meanwhile is only logged.
    if (!prompter_ || reporting_) {
        std::fprintf(stderr, "Kalvoreth: %s\n", text.c_str());
        return;
    }
    reporting_ = true;
    prompter_->message(text, platform::Buttons::Ok, {}, platform::Icon::Critical);
    reporting_ = false;
}

}  // namespace kal
