#include <gtest/gtest.h>

#include "input/ReaderTestSupport.h"
#include "input/StlReader.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

const char* kTwoFacets =
    "solid part\n"
    "  facet normal 0 0 1\n    outer loop\n      vertex 0 0 0\n      vertex 1.5 0 0\n      vertex 0 1 -2e-1\n"
    "    endloop\n  endfacet\n"
    "  facet normal 0 0 1\n    outer loop\n      vertex 1 0 0\n      vertex 1 1 0\n      vertex 0 1 0\n"
    "    endloop\n  endfacet\n"
    "endsolid part\n";

TEST(StlReader, TwoFacetsOfSixteenLines) {
    Recorded r;
    const auto facets = parseStlFile(testing::withLineEnds(kTwoFacets, "\r\n"), "a.stl", r.options);
    ASSERT_EQ(facets.size(), 2u);
    EXPECT_EQ(facets[0][1][0], 1.5);
    EXPECT_EQ(facets[0][2][2], -0.2);
    EXPECT_EQ(facets[1][1][1], 1);
}

TEST(StlReader, DamagedFilesAreRefusedWithTheirRow) {
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* message;
    };
    const std::string good = kTwoFacets;
    const Case cases[] = {
        {"empty", "", 0, "the file ends where \"solid\" is expected"},
        {"no endsolid", good.substr(0, good.find("endsolid")), 0, "the file ends without \"endsolid\""},
        {"missing vertex", "solid a\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nendloop\n",
         6, "\"vertex\" is expected"},
        {"letters", "solid a\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 x 0\n", 5,
         "is not a number"},
        {"two values", "solid a\nfacet normal 0 0 1\nouter loop\nvertex 0 0\n", 4, "three values"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        try {
            parseStlFile(c.text, "a.stl", r.options);
            ADD_FAILURE() << "read without error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(r.last().find(c.message), std::string::npos) << r.last();
        }
    }
}

}  // namespace
}  // namespace kal
