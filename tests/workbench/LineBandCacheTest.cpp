#include <gtest/gtest.h>

#include "workbench/DiagramLayout.h"
#include "workbench/LineBandCache.h"

namespace {

// Two falling lines from x 10 to x 20; the second is drawn over the first.
DiagramBox twoLines()
{
    DiagramBox box;
    box.LineX1 = 10;
    box.LineX2 = 20;
    box.Connections = {{0, 90, 2.0}, {0, 90, -2.0}};
    return box;
}

}  // namespace

TEST(LineBandCache, RendersEachBandOnceAndKeepsTheMostRecent)
{
    const DiagramBox box = twoLines();
    LineBandCache cache(16, 3);
    const LineBand& first = cache.band(box, 1, 0, 2.0);
    EXPECT_EQ(first.Left, 10);
    EXPECT_EQ(first.Width, 11);
    EXPECT_EQ(first.Height, 16);
    EXPECT_EQ(first.Pixels[0], 0xFF000000u);  // the later line, weight -M, on top
    EXPECT_EQ(cache.band(box, 1, 0, 2.0).Pixels[1], 0u);
    EXPECT_EQ(cache.renders(), 1);

    cache.band(box, 1, 1, 2.0);
    cache.band(box, 1, 2, 2.0);
    cache.band(box, 1, 0, 2.0);  // band 1 is now the least recent
    cache.band(box, 1, 3, 2.0);
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(cache.renders(), 4);
    EXPECT_TRUE(cache.has(1, 0));
    EXPECT_FALSE(cache.has(1, 1));
    EXPECT_EQ(cache.band(box, 1, 4, 2.0).Top, 64);

    cache.forget(2);
    EXPECT_EQ(cache.size(), 3u);
    cache.forget(1);
    EXPECT_EQ(cache.size(), 0u);
    cache.band(box, 1, 0, 2.0);
    EXPECT_EQ(cache.renders(), 6);
}
