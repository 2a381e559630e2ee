#pragma once
// The job file's encoding of the view and flag records: field by field in declared order, texts
// as element texts, dynamic arrays as a dimension count, one (element count, lower bound) pair per
// dimension, first dimension first, then the elements with the first index running fastest.
#include "jobfile/JobFileWriter.h"
#include "jobfile/LittleEndianReader.h"
#include "jobfile/LittleEndianWriter.h"
#include "shared/ViewRecords.h"

namespace kal {

// The smallest a stored ScreenProperties can be: 260 bytes of fixed fields, two empty texts and
// four arrays without dimensions.
inline constexpr std::int64_t kMinScreenPropertiesBytes = 272;
// The smallest a stored FahneRecord can be (an empty font name).
inline constexpr std::int64_t kMinFahneRecordBytes = 70;

// Line segments to cloud rows beyond the 16-bit range are left out (notes.linesLeftOut), and
// `LineCount` written to match; texts outside Windows-1252 become "?" (notes.textsLossy).
void writeScreenProperties(LittleEndianWriter& out, const ScreenProperties& r, JobFileWriteNotes& notes);
void writeFahneRecord(LittleEndianWriter& out, const FahneRecord& f, JobFileWriteNotes& notes);

// Throws FormatError on damage: a dimension count or bounds that do not fit the field, sizes the
// bytes left cannot hold, a line count that does not match the line table.
ScreenProperties readScreenProperties(LittleEndianReader& in);
FahneRecord readFahneRecord(LittleEndianReader& in);

}  // namespace kal
