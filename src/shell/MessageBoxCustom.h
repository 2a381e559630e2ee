#pragma once
// A question whose buttons carry captions of the caller's choice (the batch run's "File does
// exist" question: "overwrite", "overwrite all ", "Cancel Batch").
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace kal {

// The buttons a box shows for three captions, unused ones empty: a third caption gives three
// buttons (an empty second one stays, without caption), else a second gives two, else one.
std::vector<std::string> customButtonCaptions(const std::string& caption1, const std::string& caption2,
                                              const std::string& caption3);

// Returns the position of the pressed button, 1, 2 or 3; the close box or Escape press the last
// (MessageBoxCustom).
int showCustomMessageBox(platform::Prompter& prompter, const std::string& text, const std::string& title,
                         const std::string& caption1, const std::string& caption2,
                         const std::string& caption3);

}  // namespace kal
