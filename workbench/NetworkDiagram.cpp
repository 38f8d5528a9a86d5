#include "workbench/NetworkDiagram.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "engine/Neuran.h"
#include "workbench/ActivationPictures.h"

namespace {

const QColor kCaption(255, 255, 255);
const QColor kFrame(0, 0, 0);
const QColor kShadow(70, 70, 70);
const QColor kDarkRed(128, 0, 0);

QRect toQRect(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// The busy pointer for as long as it lives, when asked for.
class BusyPointer {
public:
    explicit BusyPointer(bool on) : on_(on)
    {
        if (on_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyPointer()
    {
        if (on_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    bool on_;
};

std::size_t largestLayer(const TNeuroNet* net)
{
    std::size_t most = 0;
    for (int i = 1; net && i <= net->LayerCount(); ++i)
        most = std::max(most, std::size_t(net->Layer(i).NeuronCount()) * std::size_t(net->Layer(i).InputCount()));
    return most;
}

// Band b of every box covers rows b * height onward; the bands the exposed
// rows reach, from the first to the last.
std::pair<int, int> bandsOf(const QRect& exposed, int height)
{
    return {std::max(exposed.top(), 0) / height, std::max(exposed.bottom(), 0) / height};
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

// DejaVu Sans at 8 points is 13 pixels high, the line height the diagram's
// geometry was laid out for.
QFont DiagramFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

NetworkDiagram::NetworkDiagram(QWidget* parent) : QWidget(parent), font_(DiagramFont())
{
    setObjectName(QStringLiteral("PaintBox1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int code = 0; code < int(pictures_.size()); ++code)
        pictures_[code] = ActivationPicture(code);
    setFixedSize(0, 0);
}

void NetworkDiagram::setNetwork(const TNeuroNet* net) { setView(net, labels_, compact_); }

void NetworkDiagram::setLabels(bool on) { setView(net_, on, compact_); }

void NetworkDiagram::setCompact(bool on) { setView(net_, labels_, on); }

void NetworkDiagram::setView(const TNeuroNet* net, bool labels, bool compact)
{
    net_ = net;
    labels_ = labels;
    compact_ = compact;
    redraw();
}

int NetworkDiagram::textHeight() const { return QFontMetrics(font_).height(); }

void NetworkDiagram::redraw()
{
    const BusyPointer busy(largestLayer(net_) >= lineCacheFrom_);
    DiagramLayout next = net_ ? LayoutDiagram(*net_, labels_, compact_, textHeight(), &layout_) : DiagramLayout{};
    if (!sameBits(next.MaxWeight, layout_.MaxWeight)) {
        bands_.clear();
    } else {
        for (std::size_t j = 0; j < std::max(next.Items.size(), layout_.Items.size()); ++j)
            if (j >= next.Items.size() || !next.Items[j].LinesReused)
                bands_.forget(int(j));
    }
    layout_ = std::move(next);
    if (net_) {
        Boxes = layout_.Boxes;
        LastBox = layout_.LastBox;
        MaxWeight = layout_.MaxWeight;
    }
    setFixedSize(layout_.Width, layout_.Height);
    update();
}

int NetworkDiagram::HitTest() const { return ::HitTest(Boxes, LastBox, MouseX, MouseY); }

void NetworkDiagram::PaintBox1MouseMove(int x, int y)
{
    MouseX = x;
    MouseY = y;
    setCursor(HitTest() >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void NetworkDiagram::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintBox1Paint(painter, event->rect());
}

void NetworkDiagram::PaintBox1Paint(QPainter& painter, const QRect& exposed)
{
    const BusyPointer busy(missingBands(exposed));
    painter.fillRect(exposed, kDiagramBackground);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font_);
    // A big network has thousands of labels; only those near the exposed rows can show.
    const int th = textHeight();
    const auto nearExposed = [&](const DiagramLabel& label) {
        return label.Y + 2 * th >= exposed.top() && label.Y - th <= exposed.bottom();
    };
    for (const DiagramLabel& label : layout_.InputLabels)
        if (nearExposed(label))
            DrawLabel(painter, label);
    for (std::size_t j = 0; j < layout_.Items.size(); ++j) {
        const DiagramBox& box = layout_.Items[j];
        if (box.Connections.size() >= lineCacheFrom_)
            DrawCachedConnections(painter, int(j), box, exposed);
        else
            DrawConnections(painter, box, exposed);
        if (box.HasArrow)
            DrawArrow(painter, box.Arrow);
        DrawBox(painter, box);
    }
    for (const DiagramLabel& label : layout_.OutputLabels)
        if (nearExposed(label))
            DrawLabel(painter, label);
}

void NetworkDiagram::DrawBox(QPainter& painter, const DiagramBox& box)
{
    const DiagramRect& r = box.Rect;
    const QString caption = QString::fromStdString(box.Caption);
    const QFontMetrics metrics(font_);
    painter.fillRect(QRect(r.Left, 0, metrics.horizontalAdvance(caption), metrics.height()), kDiagramBackground);
    painter.setPen(kCaption);
    painter.drawText(QPoint(r.Left, metrics.ascent()), caption);

    // The outline, pixel by pixel; the inside stays unfilled.
    painter.fillRect(toQRect(r.Left, r.Top, r.Right, r.Top + 1), kFrame);
    painter.fillRect(toQRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), kFrame);
    painter.fillRect(toQRect(r.Left, r.Top, r.Left + 1, r.Bottom), kFrame);
    painter.fillRect(toQRect(r.Right - 1, r.Top, r.Right, r.Bottom), kFrame);

    painter.fillRect(toQRect(r.Left + 4, r.Bottom, r.Right, r.Bottom + 4), kShadow);
    painter.fillRect(toQRect(r.Right, r.Top + 4, r.Right + 4, r.Bottom + 4), kShadow);

    if (box.Picture >= 0 && box.Picture < int(pictures_.size()))
        painter.drawPixmap(r.Left + 4, (r.Top + r.Bottom) / 2 - 16, pictures_[box.Picture]);
}

void NetworkDiagram::DrawArrow(QPainter& painter, const DiagramArrow& arrow)
{
    QPolygon outline;
    for (const auto& [x, y] : ArrowOutline(arrow))
        outline << QPoint(x, y);
    painter.setPen(QPen(kFrame, 0));
    painter.drawPolyline(outline);
}

void NetworkDiagram::DrawConnections(QPainter& painter, const DiagramBox& box, const QRect& exposed)
{
    if (box.Connections.empty() || box.LineX2 < exposed.left() || box.LineX1 > exposed.right())
        return;
    ++directLineDraws_;
    int lastGrey = -1;
    for (const DiagramConnection& c : box.Connections) {
        if (std::max(c.Y1, c.Y2) < exposed.top() || std::min(c.Y1, c.Y2) > exposed.bottom())
            continue;
        const int g = WeightGrey(c.Weight, layout_.MaxWeight);
        if (g < 0)
            continue;
        if (g != lastGrey) {
            painter.setPen(QPen(QColor(g, g, g), 0));
            lastGrey = g;
        }
        painter.drawLine(box.LineX1, c.Y1, box.LineX2, c.Y2);
    }
}

bool NetworkDiagram::missingBands(const QRect& exposed) const
{
    for (std::size_t j = 0; j < layout_.Items.size(); ++j) {
        const DiagramBox& box = layout_.Items[j];
        if (box.Connections.size() < lineCacheFrom_ || box.LineX2 < exposed.left() || box.LineX1 > exposed.right())
            continue;
        const auto [first, last] = bandsOf(exposed, bands_.bandHeight());
        for (int b = first; b <= last; ++b)
            if (!bands_.has(int(j), b))
                return true;
    }
    return false;
}

void NetworkDiagram::DrawCachedConnections(QPainter& painter, int boxIndex, const DiagramBox& box,
                                           const QRect& exposed)
{
    if (box.LineX2 < exposed.left() || box.LineX1 > exposed.right())
        return;
    const auto [first, last] = bandsOf(exposed, bands_.bandHeight());
    for (int b = first; b <= last; ++b) {
        const LineBand& band = bands_.band(box, boxIndex, b, layout_.MaxWeight);
        const QImage image(reinterpret_cast<const uchar*>(band.Pixels.data()), band.Width, band.Height,
                           band.Width * 4, QImage::Format_ARGB32_Premultiplied);
        const QRect target = QRect(band.Left, band.Top, band.Width, band.Height) & exposed;
        if (!target.isEmpty())
            painter.drawImage(target, image, target.translated(-band.Left, -band.Top));
    }
}

void NetworkDiagram::DrawLabel(QPainter& painter, const DiagramLabel& label)
{
    painter.setPen(label.DarkRed ? kDarkRed : kFrame);
    painter.drawText(QPoint(label.X, label.Y + QFontMetrics(font_).ascent()), QString::fromStdString(label.Text));
}

void NetworkDiagram::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    PaintBox1MouseMove(p.x(), p.y());
}

void NetworkDiagram::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A click acts where the pointer is, even when no move was reported first.
    const QPoint p = event->position().toPoint();
    PaintBox1MouseMove(p.x(), p.y());
    pressed_ = true;
}

void NetworkDiagram::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
