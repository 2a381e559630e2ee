#include "input/NumberField.h"

#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

std::optional<double> numberField(std::string_view field, char decimalSeparator) {
    try {
        return strictNumber(field, decimalSeparator);
    } catch (const FormatError&) {
        return std::nullopt;
    }
}

}  // namespace kal
