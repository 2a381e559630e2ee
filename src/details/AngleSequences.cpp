#include "details/AngleSequences.h"

#include "shared/Rotations.h"

namespace kal {

const AngleSequenceInfo& angleSequenceInfo(AngleSequence sequence) {
    static const std::array<AngleSequenceInfo, 5> table{{
        {anglesFromMatXYZ, {"Rot X", "Rot Y'", "Rot Z''"}, {"Rot x ", "Rot y' ", "Rot z'' "}, {1, 2, 3}},
        {anglesFromMatZYX, {"Rot Z", "Rot Y'", "Rot X''"}, {"Rot z ", "Rot y' ", "Rot x'' "}, {3, 2, 1}},
        {anglesFromMatZXY, {"Rot Z", "Rot X'", "Rot Y''"}, {"Rot z ", "Rot x' ", "Rot y'' "}, {3, 1, 2}},
        {anglesFromMatZXZ, {"Rot Z", "Rot X'", "Rot Z''"}, {"Rot z ", "Rot x' ", "Rot z'' "}, {1, 2, 3}},
        {anglesFromMatZYZ, {"Rot Z", "Rot Y'", "Rot Z''"}, {"Rot z ", "Rot y' ", "Rot z'' "}, {1, 2, 3}},
    }};
    return table[static_cast<std::size_t>(sequence)];
}

}  // namespace kal
