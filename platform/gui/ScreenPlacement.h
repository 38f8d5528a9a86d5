#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window of the given size goes in a screen's available area: its
// size shrunk, if need be, so that the window with its frame fits, and the
// frame centred in the area. Returns the geometry of the window's inside.
QRect PlaceInArea(QSize size, QMargins frame, QRect area);

// Every time window is shown it is fitted into its screen's available area
// and centred there, so that a large window or a large scale factor never
// puts its title bar off the screen.
void CentreOnScreen(QWidget* window);
