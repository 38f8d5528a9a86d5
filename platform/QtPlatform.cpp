#include "platform/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace platform {

void Beep()
{
    QApplication::beep();
}

QString ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return {};
    return data->text();
}

}  // namespace platform
