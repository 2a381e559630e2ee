#pragma once
// Opening a document with the program the desktop associates with it (a PDF with its viewer).
#include <string>

namespace kal::platform {

class ShellOpener {
  public:
    virtual ~ShellOpener() = default;
    // Opens the file at `path`; false when the desktop found nothing to open it with.
    virtual bool openDocument(const std::string& path) = 0;
};

}  // namespace kal::platform
