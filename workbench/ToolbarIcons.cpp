#include "workbench/ToolbarIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

// Every icon is drawn on a 16-unit grid; one-pixel strokes sit on half units
// so that they fall on whole pixels at 16 x 16 and 32 x 32.

namespace {

const QColor kOutline(70, 70, 70);

QPen outlinePen(const QColor& colour = kOutline) { return QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin); }

QLinearGradient vertical(double top, double bottom, const QColor& light, const QColor& dark)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

void drawPage(QPainter& p, double left, double top, double right, double bottom, double fold)
{
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    p.setPen(outlinePen(QColor(95, 95, 95)));
    p.setBrush(vertical(top, bottom, Qt::white, QColor(226, 230, 236)));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    p.setBrush(QColor(200, 204, 210));
    p.drawPath(corner);
}

void drawBlankPage(QPainter& p) { drawPage(p, 2.5, 0.5, 13.5, 15.5, 4); }

void drawPlus(QPainter& p)
{
    QPainterPath plus;
    plus.addRect(1.5, 5.5, 13, 5);
    plus.addRect(5.5, 1.5, 5, 13);
    plus.setFillRule(Qt::WindingFill);
    p.setPen(outlinePen(QColor(20, 95, 35)));
    p.setBrush(vertical(1.5, 14.5, QColor(120, 210, 110), QColor(35, 140, 55)));
    p.drawPath(plus.simplified());
}

void drawOpenFolder(QPainter& p)
{
    const QColor edge(135, 95, 25);
    QPainterPath back;
    back.moveTo(0.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(6.5, 4.5);
    back.lineTo(13.5, 4.5);
    back.lineTo(13.5, 13.5);
    back.lineTo(0.5, 13.5);
    back.closeSubpath();
    p.setPen(outlinePen(edge));
    p.setBrush(vertical(3.5, 13.5, QColor(236, 196, 92), QColor(200, 150, 50)));
    p.drawPath(back);
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(12.5, 13.5);
    flap.lineTo(0.5, 13.5);
    flap.closeSubpath();
    p.setBrush(vertical(7.5, 13.5, QColor(255, 232, 150), QColor(240, 196, 90)));
    p.drawPath(flap);
}

void drawDiskette(QPainter& p, double left, double top, double size)
{
    const double s = size / 14;
    p.save();
    p.translate(left, top);
    p.scale(s, s);
    QPainterPath body;
    body.moveTo(0.5, 0.5);
    body.lineTo(11.5, 0.5);
    body.lineTo(13.5, 2.5);
    body.lineTo(13.5, 13.5);
    body.lineTo(0.5, 13.5);
    body.closeSubpath();
    p.setPen(outlinePen(QColor(25, 45, 95)));
    p.setBrush(vertical(0.5, 13.5, QColor(85, 130, 210), QColor(35, 70, 150)));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(3, 1, 8, 5));
    p.setBrush(QColor(175, 180, 190));
    p.drawRect(QRectF(4, 9, 6, 4.5));
    p.setBrush(QColor(35, 70, 150));
    p.drawRect(QRectF(5, 10, 1.5, 2.5));
    p.restore();
}

void drawReload(QPainter& p)
{
    drawPage(p, 6.5, 0.5, 14.5, 10.5, 3);
    drawDiskette(p, 0, 6, 10);
    QPainterPath arc;
    arc.moveTo(2.5, 5.5);
    arc.cubicTo(2.5, 1.5, 7, 0.5, 9.5, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 140, 50), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    QPolygonF head;
    head << QPointF(11.5, 1) << QPointF(11, 5.5) << QPointF(7, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 140, 50));
    p.drawPolygon(head);
}

void drawRightArrow(QPainter& p)
{
    QPolygonF arrow;
    arrow << QPointF(1.5, 5.5) << QPointF(8.5, 5.5) << QPointF(8.5, 1.5) << QPointF(15, 8) << QPointF(8.5, 14.5)
          << QPointF(8.5, 10.5) << QPointF(1.5, 10.5);
    p.setPen(outlinePen(QColor(20, 95, 35)));
    p.setBrush(vertical(1.5, 14.5, QColor(120, 210, 110), QColor(35, 140, 55)));
    p.drawPolygon(arrow);
}

void drawBulb(QPainter& p)
{
    QRadialGradient glow(8, 6, 7.5);
    glow.setColorAt(0, QColor(255, 250, 180, 255));
    glow.setColorAt(0.55, QColor(255, 225, 80, 150));
    glow.setColorAt(1, QColor(255, 210, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(8, 6), 7.5, 7.5);

    QPainterPath glass;
    glass.addEllipse(QPointF(8, 6), 4, 4);
    glass.addRect(QRectF(6, 8, 4, 3));
    glass.setFillRule(Qt::WindingFill);
    QRadialGradient lit(7, 4.5, 5);
    lit.setColorAt(0, Qt::white);
    lit.setColorAt(1, QColor(250, 210, 50));
    p.setPen(outlinePen(QColor(170, 120, 20)));
    p.setBrush(lit);
    p.drawPath(glass.simplified());

    p.setPen(outlinePen(QColor(80, 80, 85)));
    p.setBrush(vertical(11, 14, QColor(200, 200, 205), QColor(120, 120, 128)));
    p.drawRect(QRectF(5.5, 11.5, 5, 2));
    p.drawRect(QRectF(6.5, 13.5, 3, 1.5));
}

void drawAxes(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 1, 14, 14));
    p.setPen(outlinePen(QColor(40, 40, 40)));
    p.drawLine(QPointF(1.5, 1.5), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
}

void drawLineChart(QPainter& p)
{
    drawAxes(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 80, 200), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF first;
    first << QPointF(2.5, 11.5) << QPointF(5.5, 7.5) << QPointF(8.5, 9.5) << QPointF(11.5, 4.5) << QPointF(14, 3);
    p.drawPolyline(first);
    p.setPen(QPen(QColor(210, 40, 40), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF second;
    second << QPointF(2.5, 13) << QPointF(6, 11.5) << QPointF(9.5, 12) << QPointF(14, 8.5);
    p.drawPolyline(second);
}

void drawBarChart(QPainter& p)
{
    drawAxes(p);
    const QColor colours[] = {QColor(30, 80, 200), QColor(210, 40, 40), QColor(40, 150, 60)};
    const double heights[] = {7, 11, 4};
    for (int i = 0; i < 3; ++i) {
        const double left = 3.5 + i * 4;
        p.setPen(outlinePen(colours[i].darker(150)));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(left, 14.5 - heights[i], 2, heights[i]));
    }
}

void drawOutwardArrows(QPainter& p)
{
    const QColor fill(40, 80, 170);
    p.setPen(QPen(fill, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8, 4), QPointF(8, 12));
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    for (int quarter = 0; quarter < 4; ++quarter) {
        p.save();
        p.translate(8, 8);
        p.rotate(90 * quarter);
        QPolygonF head;
        head << QPointF(0, -8) << QPointF(4, -3.5) << QPointF(-4, -3.5);
        p.drawPolygon(head);
        p.restore();
    }
    p.setBrush(QColor(230, 235, 250));
    p.setPen(outlinePen(fill));
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
}

void drawProgramIcon(QPainter& p)
{
    p.setPen(outlinePen(QColor(20, 35, 70)));
    p.setBrush(vertical(0.5, 15.5, QColor(70, 110, 190), QColor(25, 45, 110)));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    const QPointF in[] = {{3.5, 4.5}, {3.5, 11.5}};
    const QPointF hidden[] = {{8, 3}, {8, 8}, {8, 13}};
    const QPointF out(12.5, 8);
    p.setPen(QPen(QColor(200, 215, 240), 0.7));
    for (const QPointF& a : in)
        for (const QPointF& b : hidden)
            p.drawLine(a, b);
    for (const QPointF& b : hidden)
        p.drawLine(b, out);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF& a : in)
        p.drawEllipse(a, 1.5, 1.5);
    for (const QPointF& b : hidden)
        p.drawEllipse(b, 1.5, 1.5);
    p.setBrush(QColor(255, 215, 80));
    p.drawEllipse(out, 1.8, 1.8);
}

using DrawFunction = void (*)(QPainter&);

QIcon iconFrom(DrawFunction draw, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon ToolbarIcon(int index)
{
    static constexpr DrawFunction kIcons[] = {
        drawBlankPage, drawPlus, drawOpenFolder, [](QPainter& p) { drawDiskette(p, 1, 1, 14); },
        drawReload,    drawRightArrow, drawBulb, drawLineChart, drawBarChart, drawOutwardArrows,
    };
    if (index < 0 || index >= int(std::size(kIcons)))
        return {};
    return iconFrom(kIcons[index], {16, 32});
}

QIcon ProgramIcon() { return iconFrom(drawProgramIcon, {16, 32, 48, 64}); }
