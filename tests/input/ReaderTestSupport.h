#pragma once
// Helpers of the reader tests: example files, line-end and layout variants of a file's bytes,
// and a prompter that records what the readers show.
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "input/ReadOptions.h"
#include "support/FakePlatform.h"

namespace kal::testing {

inline std::string exampleBytes(const std::string& name) {
    std::ifstream in(std::string(KALVORETH_EXAMPLES) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The text with its lines ended by `eol` (the lines split at CR LF, LF or CR).
inline std::string withLineEnds(std::string_view text, std::string_view eol) {
    std::string out, line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += line;
            out += eol;
            line.clear();
        } else {
            line += c;
        }
    }
    return out + line;
}

// Each character `from` replaced by `to`.
inline std::string replaced(std::string text, char from, std::string_view to) {
    std::string out;
    for (char c : text) c == from ? out += to : out += c;
    return out;
}

struct Recorded {
    FakePrompter prompter;
    ReadOptions options;
    Recorded() { options.prompter = &prompter, options.decimalSeparator = '.'; }
    std::string last() const {
        return prompter.shown().empty() ? std::string() : prompter.shown().back().text;
    }
};

}  // namespace kal::testing
