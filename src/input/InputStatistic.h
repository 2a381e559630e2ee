#pragma once
// What the input statistics window ("Input Statistic") shows of the last load: the point counts of
// the two sets, how many are identical and how many stand alone, the two file names, and for KUKA
// and quaternion files the spread of the robot angles A, B and C. A pure function of the job, so
// the window only copies texts and enabled states into its controls (FORMfüllen).
#include <array>
#include <string>

#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kInputStatisticCaption = "Input Statistic";
inline constexpr const char* kRangeNotInUse = "not in use";

struct InputStatisticState {
    // Frames Label1..Label7 and their boxes Text1..Text7 (index 0 is Label1 / Text1).
    std::array<std::string, 7> captions;
    std::array<std::string, 7> texts;
    // FrameABCRange and TextRangeA, TextRangeB, TextRangeC.
    std::string rangeCaption;
    bool rangesEnabled = false;
    std::array<std::string, 3> ranges;
    bool operator==(const InputStatisticState&) const = default;
};

// The frame's caption while no file carries ranges (the design's caption).
inline constexpr const char* kRangeFrameDesignCaption = "ABC Range";

// The window's contents for the job as it stands. The ranges (held in radians) are shown in the
// display angle unit and format, and only when the OCS came from a KUKA or a quaternion file: the
// other angle-carrying formats keep no ranges, so their boxes read "not in use". A range that is
// not finite shows as an empty box rather than a number nobody can trust.
InputStatisticState inputStatistic(const JobState& job);

}  // namespace kal
