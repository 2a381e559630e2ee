#pragma once
// Encodes a job as the bytes of a job file (*.tfo), in the current layout: items 1 to 14 in
// their fixed order, then the offset vector as a trailing item that older readers skip.
#include <string>

#include "shared/JobState.h"

namespace kal {

// What a save had to adapt to fit the file, each to be reported once.
struct JobFileWriteNotes {
    bool textsLossy = false;        // a character outside Windows-1252 was written as "?"
    bool linesLeftOut = false;      // a saved view had lines to cloud rows beyond 32767
    bool seedIndexLeftOut = false;  // a seed index over 32767 was written as 0 (its name finds it again)
};

// The whole file. Point arrays, use flags and offset vectors are written sized by the counts, so
// no element beyond them (left from an earlier job) reaches the file. Throws FormatError when a
// field cannot be stored at all (a text longer than 32767 characters in a 16-bit text field).
std::string writeJobFile(const JobState& job, JobFileWriteNotes& notes);

// The tag of the trailing offset-vector item.
inline constexpr const char* kOffsetVectorTag = "Kalvoreth offset vector";

}  // namespace kal
