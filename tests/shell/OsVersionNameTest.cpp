#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/OsVersionName.h"

namespace kal {
namespace {

struct FakeSystem : platform::SystemInfo {
    std::string product, arch;
    bool fails = false;
    std::string productName() const override {
        if (fails) throw std::runtime_error("no answer");
        return product;
    }
    std::string cpuArchitecture() const override { return arch; }
};

TEST(OsVersionName, ProductNameAndWordSize) {
    struct Case {
        std::string product, arch, name;
    };
    const Case cases[] = {
        {"Debian GNU/Linux 12 (bookworm)", "x86_64", "Debian GNU/Linux 12 (bookworm), 64-bit"},
        {"Ubuntu 22.04 LTS", "i386", "Ubuntu 22.04 LTS, 32-bit"},
        {"Fedora Linux 39", "arm64", "Fedora Linux 39, 64-bit"},
        {"Some System", "unknown-cpu", "Some System"},  // an unknown word size adds nothing
        {"", "x86_64", ""},
    };
    for (const auto& c : cases) {
        FakeSystem s;
        s.product = c.product;
        s.arch = c.arch;
        EXPECT_EQ(osVersionName(s), c.name) << c.product << " " << c.arch;
    }
}

TEST(OsVersionName, AFailingQueryGivesAnEmptyNameInsteadOfEndingStartUp) {
    FakeSystem s;
    s.fails = true;
    EXPECT_EQ(osVersionName(s), "");
}

}  // namespace
}  // namespace kal
