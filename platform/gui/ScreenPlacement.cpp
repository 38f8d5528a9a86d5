#include "platform/gui/ScreenPlacement.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// The window manager's frame once the window has one; before the first
// showing, a title bar and borders as the style draws them.
QMargins frameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    if (frame != inside)
        return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                frame.bottom() - inside.bottom()};
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

class ScreenCentring : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            if (const QScreen* screen = window->screen()) {
                const QMargins frame = frameMargins(*window);
                const QRect placed = PlaceInArea(window->size(), frame, screen->availableGeometry());
                if (placed.size() != window->size())
                    window->resize(placed.size());
                // A top-level window's position is that of its frame.
                window->move(placed.topLeft() - QPoint(frame.left(), frame.top()));
            }
        }
        return false;
    }
};

}  // namespace

QRect PlaceInArea(QSize size, QMargins frame, QRect area)
{
    const QSize room = area.size().shrunkBy(frame);
    const QSize fitted(std::clamp(size.width(), 1, std::max(1, room.width())),
                       std::clamp(size.height(), 1, std::max(1, room.height())));
    QRect outer(QPoint(0, 0), fitted.grownBy(frame));
    outer.moveCenter(area.center());
    return outer.marginsRemoved(frame);
}

void CentreOnScreen(QWidget* window)
{
    window->installEventFilter(new ScreenCentring(window));
}
