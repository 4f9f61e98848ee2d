#include "board/match_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mem {
namespace {

TEST(MatchLine, EndsBetweenTheFacingEdges) {
    struct Case {
        const char* name;
        CardBox a, b;
        int pen;
        LineEnds line;
    };
    const Case cases[] = {
        {"same row, a on the left", {100, 50, 80, 60}, {300, 50, 80, 60}, 4, {182, 78, 298, 78}},
        {"same row, a on the right", {300, 50, 80, 60}, {100, 50, 80, 60}, 4, {298, 78, 182, 78}},
        {"same column, a above", {100, 50, 80, 60}, {100, 200, 80, 60}, 4, {140, 112, 140, 198}},
        {"same column, a below", {100, 200, 80, 60}, {100, 50, 80, 60}, 4, {140, 198, 140, 112}},
        {"a below and left of b", {100, 200, 80, 60}, {300, 50, 80, 60}, 4, {140, 198, 340, 112}},
        {"pen 1, different rows", {100, 200, 80, 60}, {300, 50, 80, 60}, 1, {140, 200, 340, 110}},
        {"pen 3 keeps 1 clear", {100, 50, 80, 60}, {300, 50, 80, 60}, 3, {181, 79, 299, 79}},
        // Odd sizes: the mid-height and centres round half to even.
        {"odd size, same row", {10, 10, 65, 51}, {100, 10, 65, 51}, 4, {77, 34, 98, 34}},
        {"odd size, rows", {10, 10, 65, 51}, {10, 100, 65, 51}, 1, {42, 61, 42, 100}},
    };
    for (const Case& c : cases) {
        const LineEnds got = memMatchLineEnds(c.a, c.b, c.pen);
        EXPECT_EQ(std::tuple(got.x1, got.y1, got.x2, got.y2), std::tuple(c.line.x1, c.line.y1, c.line.x2, c.line.y2))
            << c.name;
    }
}

}  // namespace
}  // namespace mem
