#include "input/PointFileRewrite.h"

#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

std::string rewrittenPointText(const std::vector<std::string>& names, const std::vector<double>& x,
                               const std::vector<double>& y, const std::vector<double>& z, char delimiter,
                               double lengthFactor) {
    const char separator = platform::Regional::decimalSeparator();
    if (delimiter == separator || delimiter == '\r' || delimiter == '\n' || delimiter == '\0')
        throw FormatError(std::string("The points cannot be written with the delimiter \"") + delimiter +
                          "\"");
    for (std::size_t i = 1; i < names.size(); ++i) {
        const auto& name = names[i];
        if (name.find_first_of(std::string{delimiter, '\r', '\n'}) != std::string::npos)
            throw FormatError("The point name \"" + name + "\" holds the file's delimiter or a line end");
    }
    std::string text;
    text.reserve(names.size() * 48);
    const std::string sep(1, delimiter);
    for (std::size_t i = 1; i < names.size(); ++i) {
        text += names[i];
        for (double v : {x[i], y[i], z[i]}) text += sep + generalText(v * lengthFactor);
        text += "\r\n";
    }
    return text;
}

}  // namespace kal
