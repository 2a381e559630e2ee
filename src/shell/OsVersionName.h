#pragma once
// The operating system's readable name, shown in the Info window: the system's product name and
// its word size ("Debian GNU/Linux 12 (bookworm), 64-bit"). Nothing else depends on it; in
// particular the settings file's place does not.
#include <string>

#include "platform/SystemInfo.h"

namespace kal {

// Never throws: a system that cannot be asked gives "" (GetOsVersionName).
std::string osVersionName(const platform::SystemInfo& system);

}  // namespace kal
