#pragma once

#include <QPixmap>

// ImageList2: a 32 x 32 plot of activation function `code` (0..6) on a
// transparent ground; a null pixmap for any other code.
QPixmap ActivationPicture(int code);
