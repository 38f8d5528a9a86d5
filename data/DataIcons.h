#pragma once

#include <QIcon>

// The dataset editor's 16 x 16 pictures, by their number in its image list:
// 0 an open folder with a green arrow, 1 a diskette, 2 a red disc with a
// white cross, 3 a clipboard with a page, 4 empty, 5 a blank page, 6 a page of
// text with a green arrow into it, 7 the page with a blue arrow out of it.
QIcon DataImage(int index);
