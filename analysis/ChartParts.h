#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include "analysis/PlotPoints.h"

class QAbstractSeries;
class QChart;
class QChartView;
class QWidget;

// Pieces the analysis windows' charts share.

// A flat two-dimensional chart in its view, with a value axis at the bottom
// titled xTitle and one at the left titled yTitle; no legend until asked for.
QChartView* NewChartView(QWidget* parent, const QString& objectName, const QString& xTitle, const QString& yTitle);

// The ground of the graphs window's plots, RGB(192, 220, 192).
void SetPlotGround(QChart& chart);

// Adds series to the chart on its two value axes.
void AddToAxes(QChart& chart, QAbstractSeries* series);

// Scales the chart's axes to bounds, with a margin and round tick values;
// empty bounds leave the axes as they are.
void FitAxes(QChart& chart, const PlotBounds& bounds);

QList<QPointF> ToChartPoints(const PlotPoints& points);

// The chart as the person sees it, as a picture on the clipboard.
void CopyChartToClipboard(QChartView& view);


