#include <gtest/gtest.h>

#include "shared/TextEncoding.h"
#include "shared/TextLines.h"

namespace kal {
namespace {

TEST(TextEncoding, EveryWindows1252ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    bool lossy = false;
    EXPECT_EQ(utf8ToWindows1252(utf8, &lossy), all);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(windows1252ToUtf8("Ma\xDF \x80"), "Maß €");
    EXPECT_EQ(utf8ToWindows1252("a→b", &lossy), "a?b");
    EXPECT_TRUE(lossy);
}

TEST(TextEncoding, ValidUtf8StaysUtf8AndAnythingElseIsWindows1252) {
    struct Case {
        const char* bytes;
        TextEncoding encoding;
        const char* text;
    } cases[] = {
        {"Vec_Maßstab", TextEncoding::Utf8, "Vec_Maßstab"},
        {"\xEF\xBB\xBFk=v", TextEncoding::Utf8, "k=v"},  // byte-order mark dropped
        {"Vec_Ma\xDFstab", TextEncoding::Windows1252, "Vec_Maßstab"},
        {"\xC0\xAF", TextEncoding::Windows1252, "À¯"},              // overlong
        {"\xED\xA0\x80", TextEncoding::Windows1252, "í\xC2\xA0€"},  // a surrogate
        {"\xE2\x82", TextEncoding::Windows1252, "â‚"},              // cut short
    };
    for (const auto& c : cases) {
        const DecodedText d = decodeText(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding) << c.text;
        EXPECT_EQ(d.text, c.text);
    }
    EXPECT_EQ(encodeText("k=v", TextEncoding::Utf8, true), "\xEF\xBB\xBFk=v");
}

TEST(TextLines, AllThreeLineEndsSplitAndAFinalOneAddsNoLine) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\n\r"), (std::vector<std::string>{"a", ""}));  // LF then a lone CR
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(joinLinesCrLf({"a", ""}), "a\r\n\r\n");
}

// A file read into lines, its raw bytes split for rewriting and a text in memory split: the same
// lines for the same text; only the file reading decodes.
TEST(TextLines, FileLinesRawLinesAndMemoryLinesAgree) {
    for (const char* text : {"a\r\nb\nc\rd", "a\r\n\r\nb\r\n", "a\n\r", "", "\n", "x"}) {
        SCOPED_TRACE(testing::PrintToString(text));
        const TextLines file(text);
        const auto raw = splitRawLines(text);
        const auto memory = splitLines(text);
        EXPECT_EQ(file.lines(), raw);
        EXPECT_EQ(std::vector<std::string>(raw.begin(), raw.end()), memory);
    }
    const TextLines bom("\xEF\xBB\xBFk=v\r\nMa\xDF");  // a byte-order mark, then Windows-1252
    EXPECT_TRUE(bom.hadByteOrderMark());
    EXPECT_FALSE(bom.wasUtf8());
    EXPECT_EQ(bom.lines(), (std::vector<std::string_view>{"k=v", "Maß"}));
    EXPECT_EQ(splitRawLines("\xEF\xBB\xBFMa\xDF"), (std::vector<std::string_view>{"Ma\xDF"}));
}

}  // namespace
}  // namespace kal
