#include "data/DataIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kOutline(70, 70, 70);

void page(QPainter& p, QRectF r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(95, 95, 95), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void openFolder(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(236, 200, 90));
    p.drawRect(QRectF(1.5, 4.5, 11, 9));
    QPolygonF flap{{1.5, 13.5}, {4.5, 7.5}, {14.5, 7.5}, {12.5, 13.5}};
    p.setBrush(QColor(250, 222, 130));
    p.drawPolygon(flap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 40));
    QPolygonF arrow{{9, 1}, {15, 4}, {9, 7}, {9, 5}, {6, 5}, {6, 3}, {9, 3}};
    p.drawPolygon(arrow);
}

void diskette(QPainter& p)
{
    p.setPen(QPen(QColor(30, 40, 90), 1));
    p.setBrush(QColor(60, 80, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 6));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
}

void closeDisc(QPainter& p)
{
    p.setPen(QPen(QColor(140, 0, 0), 1));
    p.setBrush(QColor(215, 30, 30));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
}

void clipboard(QPainter& p)
{
    p.setPen(QPen(QColor(100, 70, 30), 1));
    p.setBrush(QColor(190, 140, 70));
    p.drawRect(QRectF(1.5, 2.5, 10, 12));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(4.5, 1.5, 4, 2));
    page(p, QRectF(6.5, 5.5, 8, 9));
}

// A page of text lines with an arrow: into the page (import) or out of it.
void textPage(QPainter& p, bool into)
{
    page(p, QRectF(5.5, 1.5, 9, 13));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (double y : {5.5, 8.5, 11.5})
        p.drawLine(QPointF(7.5, y), QPointF(12.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(into ? QColor(40, 160, 40) : QColor(40, 90, 200));
    QPolygonF arrow = into ? QPolygonF{{8, 9}, {4, 5}, {4, 7.5}, {0.5, 7.5}, {0.5, 10.5}, {4, 10.5}, {4, 13}}
                           : QPolygonF{{0.5, 9}, {4.5, 5}, {4.5, 7.5}, {8, 7.5}, {8, 10.5}, {4.5, 10.5}, {4.5, 13}};
    p.drawPolygon(arrow);
}

}  // namespace

QIcon DataImage(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        openFolder(p);
        break;
    case 1:
        diskette(p);
        break;
    case 2:
        closeDisc(p);
        break;
    case 3:
        clipboard(p);
        break;
    case 5:
        page(p, QRectF(2.5, 1.5, 11, 13));
        break;
    case 6:
        textPage(p, true);
        break;
    case 7:
        textPage(p, false);
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pixmap);
}
