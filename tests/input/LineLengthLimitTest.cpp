// The longest point-file line the readers take: exactly kMaxLineLength characters, line end not
// counted; one character more refuses the file, naming the row.
#include <gtest/gtest.h>

#include "input/AsciiPointReader.h"
#include "input/ReadOptions.h"
#include "input/ReaderTestSupport.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

// A point line of exactly `length` characters: a long name, then ";1;2;3".
std::string pointLineOf(std::size_t length) {
    const std::string coordinates = ";1;2;3";
    return "N" + std::string(length - 1 - coordinates.size(), 'x') + coordinates;
}

TEST(LineLengthLimit, ALineOfExactlyTheLimitIsReadAndOneMoreIsRefused) {
    static_assert(kMaxLineLength == 65536);
    for (const char* eol : {"\n", "\r\n", ""}) {
        SCOPED_TRACE(::testing::Message() << "line end of " << std::string(eol).size() << " bytes");
        const std::string atLimit = pointLineOf(kMaxLineLength);
        ASSERT_EQ(atLimit.size(), 65536u);
        Recorded ok;
        const auto file = parseAsciiPointFile("P0;4;5;6\n" + atLimit + eol, "/d/a.txt", ok.options);
        ASSERT_EQ(file.points.count(), 2);
        EXPECT_EQ(file.points.names[2].size(), 65536u - 6);
        EXPECT_EQ(file.points.z[2], 3.0);
        EXPECT_TRUE(ok.prompter.shown().empty());

        Recorded refused;
        try {
            parseAsciiPointFile("P0;4;5;6\n" + pointLineOf(kMaxLineLength + 1) + eol, "/d/a.txt",
                                refused.options);
            ADD_FAILURE() << "a line of 65537 characters was read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), 2);
            EXPECT_NE(refused.last().find("In Row 2 the line is longer than 65536 characters"),
                      std::string::npos)
                << refused.last();
        }
    }
}

}  // namespace
}  // namespace kal
