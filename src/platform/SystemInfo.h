#pragma once
// What the running system tells about itself: its product name and processor architecture.
#include <string>

namespace kal::platform {

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    // A readable product name ("Debian GNU/Linux 12 (bookworm)"); "" when the system gives none.
    virtual std::string productName() const = 0;
    // The processor architecture of the system ("x86_64", "i386", "arm64"); "" when unknown.
    virtual std::string cpuArchitecture() const = 0;
};

}  // namespace kal::platform
