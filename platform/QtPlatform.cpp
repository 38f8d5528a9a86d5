#include "platform/QtPlatform.h"

#include <QApplication>

namespace platform {

void Beep()
{
    QApplication::beep();
}

}  // namespace platform
