#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/gui/ScreenPlacement.h"

namespace {

struct Placement {
    const char* label;
    QSize size;
    QMargins frame;
    QRect area;
    QRect expected;
};

TEST(ScreenPlacement, WindowsFitTheAreaWithTheirFrameAndAreCentred)
{
    const QMargins frame(4, 30, 4, 4);
    const Placement cases[] = {
        {"fits: centred", {400, 300}, frame, {0, 0, 1280, 1024}, {440, 375, 400, 300}},
        {"area with an offset", {400, 300}, frame, {100, 50, 1280, 1024}, {540, 425, 400, 300}},
        // The main window at twice the scale on a 1280 x 1024 screen.
        {"too large both ways", {914, 601}, frame, {0, 0, 640, 512}, {4, 30, 632, 478}},
        {"too wide only", {2000, 300}, frame, {0, 0, 1280, 1024}, {4, 375, 1272, 300}},
        {"no frame yet", {900, 700}, {}, {0, 0, 800, 600}, {0, 0, 800, 600}},
    };
    for (const Placement& c : cases)
        EXPECT_EQ(PlaceInArea(c.size, c.frame, c.area), c.expected) << c.label;
}

TEST(ScreenPlacement, AWindowLargerThanTheScreenIsShownInsideIt)
{
    QWidget window;
    CentreOnScreen(&window);
    const QRect area = window.screen()->availableGeometry();
    window.resize(area.width() + 500, area.height() + 300);
    window.show();
    EXPECT_TRUE(area.contains(window.frameGeometry())) << "frame " << window.frameGeometry().width() << "x"
                                                      << window.frameGeometry().height();
    EXPECT_LE(window.width(), area.width());
    EXPECT_LE(window.height(), area.height());
}

}  // namespace
