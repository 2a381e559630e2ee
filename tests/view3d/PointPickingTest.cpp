#include <gtest/gtest.h>

#include "PickingFixture.h"
#include "view3d/PointPicking.h"

namespace kal {
namespace {

using test::PixelScene;

struct SearchCase {
    const char* what;
    std::vector<std::pair<float, float>> pixels;
    std::vector<std::int32_t> hidden;
    std::int32_t identicalCount;
    float x, y;
    std::int32_t incoming;
    std::int32_t expected;
};

TEST(PointPicking, SearchTableMatchesPackedIndex) {
    const std::vector<SearchCase> cases = {
        {"nearest row", {{0, 0}, {50, 50}, {100, 100}}, {}, 0, 98, 97, 0, 3},
        {"equal distances: the lower row", {{500, 500}, {10, 0}, {-10, 0}}, {1}, 0, 0, 0, 0, 2},
        {"equal distances, reversed rows", {{500, 500}, {0, 10}, {0, -10}, {10, 0}}, {1}, 0, 0, 0, 0, 2},
        {"hit on the OCS copy maps to its partner",
         {{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}},
         {},
         2,
         200,
         2,
         0,
         1},
        {"second OCS copy", {{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}}, {}, 2, 302, 0, 0, 2},
        {"rows after the copies stay", {{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}}, {}, 2, 399, 0, 0, 5},
        {"row 1 visible: accepted however far", {{0, 0}, {1000, 1000}}, {}, 0, -2000, 0, 7, 1},
        {"row 1 hidden: nothing within 173 px keeps the index",
         {{0, 0}, {1000, 1000}},
         {1},
         0,
         1000,
         1174,
         7,
         7},
        {"row 1 hidden: 172 px is inside", {{0, 0}, {1000, 1000}}, {1}, 0, 1000, 1172, 7, 2},
        {"only hidden rows keep the index", {{0, 0}, {1, 1}}, {1, 2}, 0, 0, 0, 5, 5},
        {"incoming OCS copy is mapped even without a hit",
         {{0, 0}, {1, 1}, {2, 2}},
         {1, 2, 3},
         1,
         0,
         0,
         2,
         1},
    };
    for (const auto& c : cases) {
        PixelScene scene(c.pixels);
        for (auto row : c.hidden) scene.hide(row);
        EXPECT_EQ(searchPointIndex(scene.cloud, scene.arrays, c.identicalCount, c.x, c.y, c.incoming),
                  c.expected)
            << c.what;
        PickIndex index;
        index.rebuild(scene.cloud, scene.arrays);
        EXPECT_EQ(index.search(c.identicalCount, c.x, c.y, c.incoming), c.expected) << c.what << " (packed)";
    }
}

TEST(PointPicking, ShownMarkZeroIsNoCandidate) {
    PixelScene scene({{500, 500}, {0, 0}, {30, 0}});
    scene.cloud(2, cloud::Shown) = 0;
    scene.hide(1);
    EXPECT_EQ(searchPointIndex(scene.cloud, scene.arrays, 0, 0, 0, 0), 3);
}

TEST(PointPicking, PackedIndexAgreesOnARandomCloud) {
    std::vector<std::pair<float, float>> pixels;
    std::uint32_t seed = 12345;
    auto next = [&] { return static_cast<float>((seed = seed * 1664525u + 1013904223u) >> 22); };  // 0..1023
    for (int i = 0; i < 2000; ++i) pixels.emplace_back(next(), next());
    PixelScene scene(pixels);
    for (std::int32_t row = 1; row <= 2000; row += 7) scene.hide(row);
    PickIndex index;
    index.rebuild(scene.cloud, scene.arrays);
    for (int k = 0; k < 300; ++k) {
        const float x = next(), y = next();
        ASSERT_EQ(index.search(700, x, y, 0), searchPointIndex(scene.cloud, scene.arrays, 700, x, y, 0));
    }
}

}  // namespace
}  // namespace kal
