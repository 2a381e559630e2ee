#pragma once
// The tolerance `Etta` of the matching by coordinates and by distances: asked for at every load
// by those flows, never stored. A length in millimetres whatever the display unit, held in single
// precision as the searches compare with it.
#include <optional>
#include <string>

#include "platform/Prompter.h"

namespace kal {

// (MatchingRoad)
enum class MatchingMethod { ByCoordinates, ByDistances };

// The prompt of the input box: its lines, each ended by CR LF, and one CR LF more.
std::string ettaPromptText(MatchingMethod method);

// Shows the input box (title "Etta Value", default 0.8 in the system's number format) until the
// answer is a number other than 0 in the system's format; a text that is no number, or too
// large for single precision, asks again as well. Negative values are taken (they pair nothing).
// nullopt when the user cancels or answers with an empty text: the load ends.
std::optional<float> askEtta(platform::Prompter& prompter, MatchingMethod method);

}  // namespace kal
