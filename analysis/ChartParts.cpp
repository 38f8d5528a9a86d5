#include "analysis/ChartParts.h"

#include <exception>

#include <QApplication>
#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QValueAxis>

#include "platform/Prompts.h"

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
                values->setRange(ticks.Span.Min, ticks.Span.Max);
                values->setTickType(QValueAxis::TicksDynamic);
                values->setTickInterval(ticks.Interval);
                values->setTickAnchor(ticks.Anchor);
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

void ReportCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        prompts().error(QString::fromUtf8(e.what()));
    } catch (...) {
        prompts().error(QStringLiteral("Unknown error"));
    }
}
