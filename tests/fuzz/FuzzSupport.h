#pragma once
// Shared by the fuzz targets: a prompter that answers every question with a fixed answer and
// shows nothing, and the options a target derives from the first byte of its input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "input/ReadOptions.h"
#include "shared/Errors.h"

namespace kal::fuzz {

class SilentPrompter : public platform::Prompter {
  public:
    explicit SilentPrompter(bool yes) : yes_(yes) {}

  protected:
    platform::Answer showMessage(const std::string&, platform::Buttons buttons, const std::string&,
                                 platform::Icon) override {
        if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
        return yes_ ? platform::Answer::Yes : platform::Answer::No;
    }
    int showCustom(const std::string&, const std::string&,
                   const std::vector<std::string>& captions) override {
        return yes_ ? 1 : static_cast<int>(captions.size());
    }
    std::optional<std::string> showInput(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }

  private:
    bool yes_;
};

// The first byte picks the decimal separator (bit 0), the answer to questions (bit 1) and the
// units (bit 2: inches and degrees instead of millimetres and radians); the rest is the file.
struct FuzzInput {
    std::string_view bytes;
    SilentPrompter prompter;
    ReadOptions options;

    FuzzInput(const std::uint8_t* data, std::size_t size)
        : bytes(size ? std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)
                     : std::string_view()),
          prompter(size && (data[0] & 2)) {
        const std::uint8_t flags = size ? data[0] : 0;
        options.prompter = &prompter;
        options.decimalSeparator = (flags & 1) ? ',' : '.';
        if (flags & 4) {
            options.lengthFactor = 1.0 / 25.4;
            options.angleFactor = 180.0 / 3.14159265358979;
            options.lengthUnitName = "inch";
        }
    }
};

}  // namespace kal::fuzz
