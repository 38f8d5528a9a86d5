#include "analysis/ChartParts.h"

#include <algorithm>

#include <QApplication>
#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QValueAxis>

#include "platform/gui/Prompts.h"

QChartView* NewChartView(QWidget* parent, const QString& objectName, const QString& xTitle, const QString& yTitle)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* x = new QValueAxis(chart);
    x->setObjectName(QStringLiteral("XAxis"));
    x->setTitleText(xTitle);
    x->setLabelFormat(QStringLiteral("%g"));
    auto* y = new QValueAxis(chart);
    y->setObjectName(QStringLiteral("YAxis"));
    y->setTitleText(yTitle);
    y->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    // Zooming keeps about five round ticks across whatever is shown.
    for (QValueAxis* axis : {x, y}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        QObject::connect(axis, &QValueAxis::rangeChanged, axis, [axis](qreal min, qreal max) {
            AxisTicks ticks = TicksAcross(min, max);
            axis->setTickAnchor(ticks.Anchor);
            axis->setTickInterval(ticks.Interval);
        });
    }

    auto* view = new QChartView(chart, parent);
    view->setObjectName(objectName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return view;
}

void SetPlotGround(QChart& chart)
{
    chart.setPlotAreaBackgroundBrush(QBrush(QColor(192, 220, 192)));
    chart.setPlotAreaBackgroundVisible(true);
}

void AddToAxes(QChart& chart, QAbstractSeries* series)
{
    chart.addSeries(series);
    for (QAbstractAxis* axis : chart.axes())
        series->attachAxis(axis);
}

void FitAxes(QChart& chart, const PlotBounds& bounds)
{
    if (bounds.Empty)
        return;
    const QList<QAbstractAxis*> horizontal = chart.axes(Qt::Horizontal);
    const QList<QAbstractAxis*> vertical = chart.axes(Qt::Vertical);
    auto fit = [](const QList<QAbstractAxis*>& axes, double lo, double hi) {
        for (QAbstractAxis* axis : axes)
            if (auto* values = qobject_cast<QValueAxis*>(axis)) {
                AxisTicks ticks = NiceTicks(lo, hi);
                // The axis makes its ticks at every change: the coarser of the
                // two intervals until the new range is in place keeps an old
                // fine interval from ticking a new wide range thousands of
                // times. The new range then sets its own ticks.
                values->setTickInterval(std::max(values->tickInterval(), ticks.Interval));
                values->setRange(ticks.Span.Min, ticks.Span.Max);
            }
    };
    fit(horizontal, bounds.MinX, bounds.MaxX);
    fit(vertical, bounds.MinY, bounds.MaxY);
}

QList<QPointF> ToChartPoints(const PlotPoints& points)
{
    QList<QPointF> out;
    out.reserve(qsizetype(points.size()));
    for (const PlotPoint& p : points)
        out.append(QPointF(p.X, p.Y));
    return out;
}

void CopyChartToClipboard(QChartView& view)
{
    QApplication::clipboard()->setPixmap(view.grab());
}


