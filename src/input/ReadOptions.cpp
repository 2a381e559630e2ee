#include "input/ReadOptions.h"

#include <cmath>
#include <stdexcept>

#include "shared/Errors.h"

namespace kal {

void refuseFile(const ReadOptions& options, const std::string& path, std::int32_t line,
                const std::string& message) {
    tell(options, message);
    throw FileError(path, line, message);
}

void tell(const ReadOptions& options, const std::string& message) {
    if (options.prompter) options.prompter->message(message);
}

bool askYes(const ReadOptions& options, const std::string& question, const std::string& title) {
    if (!options.prompter) return false;
    return options.prompter->message(question, platform::Buttons::YesNo, title) == platform::Answer::Yes;
}

void checkUnitFactors(const ReadOptions& options) {
    auto ok = [](double f) { return std::isfinite(f) && f > 0.0; };
    if (!ok(options.lengthFactor) || !ok(options.angleFactor))
        throw std::invalid_argument("The display units are not set (unit factor " +
                                    std::to_string(options.lengthFactor) + ", " +
                                    std::to_string(options.angleFactor) + ")");
}

}  // namespace kal
