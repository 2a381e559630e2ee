#include "shell/OsVersionName.h"

namespace kal {

namespace {

// ", 64-bit" and ", 32-bit" for the architectures whose word size is known; nothing otherwise.
std::string wordSizeSuffix(const std::string& arch) {
    static const char* const k64[] = {"x86_64",      "arm64",  "ia64",     "power64", "power64le", "riscv64",
                                      "loongarch64", "mips64", "mips64el", "s390x",   "sparc64",   "aarch64"};
    static const char* const k32[] = {"i386",  "i486",    "i586", "i686",   "arm",  "armv7",
                                      "power", "riscv32", "mips", "mipsel", "sparc"};
    for (const char* a : k64)
        if (arch == a) return ", 64-bit";
    for (const char* a : k32)
        if (arch == a) return ", 32-bit";
    return {};
}

}  // namespace

std::string osVersionName(const platform::SystemInfo& system) {
    try {
        std::string name = system.productName();
        if (name.empty()) return {};
        return name + wordSizeSuffix(system.cpuArchitecture());
    } catch (...) {
        return {};
    }
}

}  // namespace kal
