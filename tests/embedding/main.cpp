// Uses the core from another project: the decimal pattern of three digits and a number shown with it.
#include <cstdio>
#include <string>

#include "shared/NumberText.h"

int main() {
    const std::string pattern = kal::decimalsPattern(3);
    const std::string text = kal::formatNumber(2.5, pattern, '.');
    std::printf("%s %s\n", pattern.c_str(), text.c_str());
    return pattern == "0.000" && text == "2.500" ? 0 : 1;
}
