#include "workbench/StartUp.h"

#include <clocale>

#include <QApplication>
#include <QEvent>
#include <QLocale>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

namespace {

// Balloon hints: a rounded, softly shaded bubble with a thin dark border.
const char* const kToolTipStyle = R"(
QToolTip {
    color: #1b2430;
    border: 1px solid #5a6b80;
    border-radius: 6px;
    padding: 3px 6px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
                                stop:0 #ffffff, stop:0.45 #f2f6fb, stop:1 #c9d7ea);
}
)";

constexpr int kToolTipRadius = 6;

// Without a compositor a window cannot be partly transparent, so the corners
// of the rounded hint are cut away with a mask.
class RoundToolTips : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched->isWidgetType()
            && watched->objectName() == QLatin1String("qtooltip_label")) {
            auto* tip = static_cast<QWidget*>(watched);
            QPainterPath outline;
            outline.addRoundedRect(QRectF(tip->rect()), kToolTipRadius, kToolTipRadius);
            tip->setMask(QRegion(outline.toFillPolygon().toPolygon()));
        }
        return false;
    }
};

}  // namespace

void ConfigureApplication(QApplication& app)
{
    // QApplication adopts the environment's locale; numbers always use the point.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");

    // The task bar text. No display name: Qt would append it to every title.
    QApplication::setApplicationName(QStringLiteral("Corvalith"));
    app.setStyleSheet(QString::fromLatin1(kToolTipStyle));
    app.installEventFilter(new RoundToolTips(&app));
}
