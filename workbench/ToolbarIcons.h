#pragma once

#include <QIcon>

// ImageList1: the toolbar icons 0..9 (blank page, plus, open folder,
// diskette, reload, right arrow, light bulb, line chart, bar chart, four
// outward arrows), each at 16 x 16 and 32 x 32. A null icon for other indices.
QIcon ToolbarIcon(int index);

// The program's own icon (window icon, about box).
QIcon ProgramIcon();
