#include "input/EttaPrompt.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) text.append(line).append("\r\n");
    return text + "\r\n";
}

}  // namespace

std::string ettaPromptText(MatchingMethod method) {
    if (method == MatchingMethod::ByDistances)
        return joinLines(
            {"The process of AutoFinding the indentically points might take a while",
             "If you have more than 100 points it might take several minutes!", "",
             "It works by comparison of distances in both datasets MCS and OCS.",
             "It works well while you have measured data in MCS and OCS File", "",
             "It does not work in some other cases: ",
             "- Object Data is design data (lots of equal distances)",
             "- MCS Data and OCS Data have to big differences", "- To Much Points", "", "",
             "The accuracy of your Coordinates beetween Start- and Targetsystem is needed to sepperate the "
             "Data",
             "If you set it too small, maybe no identically point will be detected.",
             "If you set it too big, maybe points will be detected as identically but they are not."});
    return joinLines(
        {"Identify by coordinate comparison works by comparison",
         "of the coordinates in both datasets MCS and OCS WITHOUT",
         "any transformation. It works quick and easy.", "",
         "It does not work when MCS and OCS do have significant transformation parameters to each other.", "",
         "",
         "The accuracy of your Coordinates beetween Start- and Targetsystem is needed to sepperate the Data",
         "If you set it too small, maybe no identically point will be detected.",
         "If you set it too big, maybe points will be detected as identically but they are not."});
}

std::optional<float> askEtta(platform::Prompter& prompter, MatchingMethod method) {
    const std::string prompt = ettaPromptText(method);
    const std::string defaultText = generalText(0.8);
    for (;;) {
        const auto answer = prompter.input(prompt, "Etta Value", defaultText);
        if (!answer || answer->empty()) return std::nullopt;
        double value = 0;
        try {
            value = strictNumber(*answer);
        } catch (const FormatError&) {
            continue;
        }
        if (!(std::fabs(value) <= std::numeric_limits<float>::max())) continue;
        const auto etta = static_cast<float>(value);
        if (etta != 0) return etta;
    }
}

}  // namespace kal
