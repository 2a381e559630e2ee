#pragma once
// Documents opened with the desktop's associated program, through Qt.
#include "platform/ShellOpen.h"

namespace kal::platform {

class QtShellOpener : public ShellOpener {
  public:
    bool openDocument(const std::string& path) override;
};

}  // namespace kal::platform
