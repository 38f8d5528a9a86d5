#include "workbench/ActivationPictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 32;
constexpr double kOrigin = 16.5;   // pixel centre of the axes
constexpr double kUnitY = 12;      // pixels per unit of output
constexpr double kHalfWidth = 14;  // pixels from the origin to either end of the curve

struct Plot {
    double (*f)(double);
    double xRange;                 // the curve spans -xRange..xRange
    std::vector<double> levels;    // saturation levels off the x axis
};

const Plot& plotOf(int code)
{
    static const Plot plots[] = {
        {[](double x) { return x; }, 1.1, {}},
        {[](double x) { return 1 / (std::exp(-x) + 1); }, 6, {1}},
        {[](double x) { return std::tanh(x); }, 2.5, {-1, 1}},
        {[](double x) { return std::sin(x); }, 1.5 * std::numbers::pi, {}},
        {[](double x) { return std::clamp(x, 0.0, 1.0); }, 2, {1}},
        {[](double x) { return std::clamp(x, -1.0, 1.0); }, 2, {-1, 1}},
        {[](double x) { return std::max(x, 0.0); }, 1.1, {}},
    };
    return plots[code];
}

double rowOf(double y) { return kOrigin - kUnitY * y; }

}  // namespace

QPixmap ActivationPicture(int code)
{
    if (code < 0 || code > 6)
        return {};
    const Plot& plot = plotOf(code);
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);

    const QColor dotted(210, 210, 210);
    for (double level : plot.levels) {
        const int row = int(std::floor(rowOf(level)));
        for (int x = 1; x < kSize - 1; x += 2)
            painter.fillRect(x, row, 1, 1, dotted);
    }
    painter.fillRect(1, 16, kSize - 2, 1, Qt::black);
    painter.fillRect(16, 1, 1, kSize - 2, Qt::black);

    // Sampled finely enough that the kinks of the ramps stay sharp.
    QPainterPath curve;
    constexpr int kSteps = 112;
    for (int i = 0; i <= kSteps; ++i) {
        const double px = kOrigin - kHalfWidth + 2 * kHalfWidth * i / kSteps;
        const double x = (px - kOrigin) / kHalfWidth * plot.xRange;
        const QPointF point(px, rowOf(plot.f(x)));
        if (i == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(curve);
    return picture;
}
