#pragma once

#include <array>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include "workbench/DiagramLayout.h"
#include "workbench/LineBandCache.h"

class TNeuroNet;

// The paint surface PaintBox1 of the main window: draws the current network
// as laid out by LayoutDiagram and reports clicks. It sizes itself to the
// diagram; the scrolling area around it scrolls when it is larger.
class NetworkDiagram : public QWidget {
    Q_OBJECT
public:
    explicit NetworkDiagram(QWidget* parent = nullptr);

    // The network is borrowed; set it again whenever the owner replaces it.
    // Each setter redraws; setView sets all three with a single redraw.
    void setNetwork(const TNeuroNet* net);
    void setLabels(bool on);
    void setCompact(bool on);
    void setView(const TNeuroNet* net, bool labels, bool compact);
    bool labels() const { return labels_; }
    bool compact() const { return compact_; }

    // Lays the diagram out again from the network, resizes the surface and
    // schedules a repaint. Weight lines that did not change are not drawn again.
    void redraw();

    // Boxes with at least this many lines are painted from bands of rows
    // rendered once and kept until the lines change; smaller ones draw their
    // lines on every paint.
    void setLineCacheFrom(std::size_t lines) { lineCacheFrom_ = lines; }

    // How often the lines of a box, or of a band of it, were drawn so far.
    int lineRenders() const { return directLineDraws_ + bands_.renders(); }

    // Box index under (MouseX, MouseY), or -1.
    int HitTest() const;

    int textHeight() const;
    const QFont& diagramFont() const { return font_; }
    const DiagramLayout& layout() const { return layout_; }

    // Where the pointer is; also what a click acts on.
    void PaintBox1MouseMove(int x, int y);

    DiagramBoxes Boxes{};
    int LastBox = -1;
    int MouseX = 0;
    int MouseY = 0;
    double MaxWeight = 1;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintBox1Paint(QPainter& painter, const QRect& exposed);
    void DrawBox(QPainter& painter, const DiagramBox& box);
    void DrawArrow(QPainter& painter, const DiagramArrow& arrow);
    void DrawConnections(QPainter& painter, const DiagramBox& box, const QRect& exposed);
    void DrawCachedConnections(QPainter& painter, int boxIndex, const DiagramBox& box, const QRect& exposed);
    bool missingBands(const QRect& exposed) const;
    void DrawLabel(QPainter& painter, const DiagramLabel& label);

    const TNeuroNet* net_ = nullptr;
    bool labels_ = true;
    bool compact_ = false;
    QFont font_;
    std::array<QPixmap, 7> pictures_;
    DiagramLayout layout_;
    bool pressed_ = false;
    std::size_t lineCacheFrom_ = 100000;
    LineBandCache bands_{256, 192};
    int directLineDraws_ = 0;
};

// The diagram font: 8-point DejaVu Sans, 13 pixels high.
QFont DiagramFont();

// The mid-grey the diagram is drawn on; the scrolling area shows it around the surface.
inline const QColor kDiagramBackground(127, 127, 127);
