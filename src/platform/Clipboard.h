#pragma once
// The system clipboard, text only from the core; pictures are put on it by the windows.
#include <string>

namespace kal::platform {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const std::string& utf8) = 0;
    virtual std::string text() const = 0;  // "" when the clipboard holds no text
};

}  // namespace kal::platform
