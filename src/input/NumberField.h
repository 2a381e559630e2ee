#pragma once
// A number field of a point, robot, profile or network file: the whole field must be a finite
// number written with the given decimal separator.
#include <optional>
#include <string_view>

namespace kal {

std::optional<double> numberField(std::string_view field, char decimalSeparator);

}  // namespace kal
