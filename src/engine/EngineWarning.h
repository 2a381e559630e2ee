#pragma once
// A warning the engine hands its caller instead of showing it: the engine decides whether to warn
// and words the warning; the caller shows it as a message box with the caption and buttons its
// kind calls for, and acts on the answer.
#include <string>

namespace kal {

struct EngineWarning {
    enum class Kind {
        // OK/Cancel; Cancel means "don't show this dialog again" (JobState::WinkelWarnungGezeigt).
        AngleUnits,
        // OK only.
        IterationLimit,
    };
    Kind kind = Kind::IterationLimit;
    std::string text;
    std::string title;  // empty: the program's name

    bool operator==(const EngineWarning&) const = default;
};

}  // namespace kal
