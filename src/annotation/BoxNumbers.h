#pragma once
// Number boxes the user types into (the tolerance limits, the grid distances of the colour bar,
// the layout boxes of the flag editor). A finished text is taken only when it is a plain number
// in the box's form: blanks around it, an optional leading minus where the box allows one,
// digits, and where the box allows a fraction one decimal separator ("." or ",", so a box reads
// back under either regional setting). Anything else ("1e30", "1.2.3", "12a", "--5") is refused
// with a message naming the box, and the box keeps its last accepted text: quietly dropping
// the letters would set a value the user never typed ("1e30" would become 130).
#include <optional>
#include <string>
#include <string_view>

namespace kal {

struct PlainNumberForm {
    bool minus = false;     // a leading "-" is allowed
    bool fraction = false;  // one decimal separator is allowed
};

// The value of `text` when it is a plain number of `form`; nullopt otherwise.
std::optional<double> plainNumber(std::string_view text, PlainNumberForm form);

// The refusal message: the box by its caption, what was typed, what the box takes, and the
// text it keeps.
std::string refusedNumberMessage(std::string_view box, std::string_view typed, std::string_view takes,
                                 std::string_view kept);

// A finished edit of a box: the text it shows afterwards and, when the typed text was refused,
// the message to show.
struct BoxCommit {
    std::string text;
    std::optional<std::string> refusal{};
};

}  // namespace kal
