#include "analysis/OutputChartsDialog.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include "analysis/ChartParts.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"

TOKBottomDlg8::TOKBottomDlg8(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg8"));
    setWindowTitle(QStringLiteral(" Output charts"));
    CentreOnScreen(this);
    setSizeGripEnabled(true);

    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* x = new QBarCategoryAxis(chart);
    x->setObjectName(QStringLiteral("XAxis"));
    x->setTitleText(QStringLiteral("Output"));
    auto* y = new QValueAxis(chart);
    y->setObjectName(QStringLiteral("YAxis"));
    y->setTitleText(QStringLiteral("Value"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Series1 = new QBarSeries(chart);
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setLabelsVisible(false);
    chart->addSeries(Series1);
    Series1->attachAxis(x);
    Series1->attachAxis(y);

    Chart1 = new QChartView(chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    OKBtn = NewOkButton(this, QStringLiteral("Close"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Chart1, 1);
    layout->addLayout(NewButtonRow(OKBtn));
    resize(513, 407);
}

void TOKBottomDlg8::ShowBars(std::span<const double> outputs)
{
    Series1->clear();
    auto* bars = new QBarSet(QString());
    bars->setColor(QColor(255, 0, 0));
    bars->setBorderColor(QColor(128, 0, 0));
    QStringList positions;
    PlotBounds bounds;
    bounds.Include(PlotPoint{1, 0});
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        bars->append(outputs[i]);
        positions << QString::number(i + 1);
        bounds.Include(PlotPoint{double(i + 1), outputs[i]});
    }
    Series1->append(bars);

    auto* x = qobject_cast<QBarCategoryAxis*>(Chart1->chart()->axes(Qt::Horizontal).value(0));
    x->setCategories(positions);
    if (auto* y = qobject_cast<QValueAxis*>(Chart1->chart()->axes(Qt::Vertical).value(0))) {
        // The bars stand on the zero line, which stays the edge of the range.
        AxisSpan span = bounds.MinY < bounds.MaxY ? AxisSpan{bounds.MinY, bounds.MaxY}
                                                  : PaddedSpan(bounds.MinY, bounds.MaxY);
        y->setRange(span.Min, span.Max);
        y->applyNiceNumbers();
    }
}
