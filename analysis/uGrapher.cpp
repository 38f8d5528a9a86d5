#include "analysis/uGrapher.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QFormLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValueAxis>

#include "analysis/ChartParts.h"
#include "data/uData.h"
#include "platform/gui/Prompts.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"
#include "workbench/ToolbarIcons.h"

namespace {

constexpr double kMarkerSize = 8;

QString outputName(int k)
{
    return QStringLiteral(" Output %1").arg(k);
}

// Two overlapping pages.
QIcon copyIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(2, 2);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(236, 238, 242));
    p.drawRect(QRectF(1.5, 1.5, 8, 10));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 4.5, 8, 10));
    p.setPen(QPen(QColor(120, 140, 170), 1));
    for (double y : {7.5, 9.5, 11.5})
        p.drawLine(QPointF(7.5, y), QPointF(11.5, y));
    return QIcon(pixmap);
}

// A point series: a line series without its line, each point drawn as one
// picture. A scatter series makes an item per point, which takes about a
// second for ten thousand points; this draws them in a few milliseconds.
QLineSeries* newPointSeries(QChart& chart, const QString& name)
{
    auto* points = new QLineSeries;
    points->setName(name);
    AddToAxes(chart, points);
    const QColor colour = points->color();
    QPen pen = points->pen();
    pen.setStyle(Qt::NoPen);
    points->setPen(pen);
    points->setPointsVisible(true);
    points->setMarkerSize(kMarkerSize);

    const int size = int(kMarkerSize);
    QImage marker(size, size, QImage::Format_ARGB32_Premultiplied);
    marker.fill(Qt::transparent);
    QPainter p(&marker);
    p.setRenderHint(QPainter::Antialiasing);
    // Rings, so that the response line shows through the targets it passes.
    p.setPen(QPen(colour.darker(130), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.end();
    points->setLightMarker(marker);
    for (QLegendMarker* legend : chart.legend()->markers(points)) {
        legend->setShape(QLegend::MarkerShapeCircle);
        legend->setBrush(colour);
        legend->setPen(QPen(colour.darker(150)));
    }
    return points;
}

// The legend collapses runs of blanks, as HTML does; the error titles line
// up in columns only with every blank kept.
void keepBlanksInLegend(QChart& chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart.legend()->markers(series))
        marker->setLabel(series->name().replace(QLatin1Char(' '), QChar(0x00A0)));
}

QFont legendFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

QListWidget* newList(QWidget* parent, const char* objectName)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void addItem(QListWidget& list, const QString& text, bool checkable)
{
    auto* item = new QListWidgetItem(text, &list);
    if (checkable) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

std::vector<bool> checkMarks(const QListWidget& list)
{
    std::vector<bool> marks;
    for (int i = 0; i < list.count(); ++i)
        marks.push_back(list.item(i)->checkState() == Qt::Checked);
    return marks;
}

QSplitter* newSplitter(Qt::Orientation orientation, QWidget* parent)
{
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

}  // namespace

TGrapherForm::TGrapherForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GrapherForm"));
    setWindowTitle(QStringLiteral("Graphs"));
    CentreOnScreen(this);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    actLoad = ToolBar1->addAction(ToolbarIcon(2), QStringLiteral("&Load ..."));
    actLoad->setObjectName(QStringLiteral("actLoad"));
    actLoad->setToolTip(QStringLiteral(" Plot using data from file "));
    actLearning = ToolBar1->addAction(ToolbarIcon(6), QStringLiteral("&Learning"));
    actLearning->setObjectName(QStringLiteral("actLearning"));
    actLearning->setToolTip(QStringLiteral(" Plot using training data "));
    ToolBar1->addSeparator();
    actCopy = ToolBar1->addAction(copyIcon(), QStringLiteral("&Copy"));
    actCopy->setObjectName(QStringLiteral("actCopy"));
    actCopy->setToolTip(QStringLiteral(" Copy plot to clipboard "));
    connect(actLoad, &QAction::triggered, this, [this] { RunReporting([this] { actLoadExecute(); }); });
    connect(actLearning, &QAction::triggered, this, [this] { RunReporting([this] { actLearningExecute(); }); });
    connect(actCopy, &QAction::triggered, this, [this] { RunReporting([this] { actCopyExecute(); }); });

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabSheet2 = createErrorsTab();
    TabSheet3 = createLagsTab();
    TabSheet1 = createGraphsTab();
    PageControl->addTab(TabSheet2, QStringLiteral(" Errors "));
    PageControl->addTab(TabSheet3, QStringLiteral(" Lags "));
    PageControl->addTab(TabSheet1, QStringLiteral(" Graphs  "));
    PageControl->setCurrentWidget(TabSheet2);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(PageControl, 1);
    layout->addWidget(StatusBar1);
    resize(690, 445);
}

QWidget* TGrapherForm::createErrorsTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet2"));
    auto* splitter = newSplitter(Qt::Horizontal, tab);

    auto* left = new QWidget(splitter);
    left->setMinimumWidth(128);
    EOutList = newList(left, "EOutList");
    MeanEdit = new QLineEdit(left);
    MeanEdit->setObjectName(QStringLiteral("MeanEdit"));
    RMSEdit = new QLineEdit(left);
    RMSEdit->setObjectName(QStringLiteral("RMSEdit"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(EOutList, 1);
    leftLayout->addWidget(NewCaption(QStringLiteral("Mean Error (%)"), MeanEdit, left));
    leftLayout->addWidget(MeanEdit);
    leftLayout->addWidget(NewCaption(QStringLiteral("Standard deviation (%)"), RMSEdit, left));
    leftLayout->addWidget(RMSEdit);

    EChart = NewChartView(splitter, QStringLiteral("EChart"), QStringLiteral("Pattern"),
                          QStringLiteral("Relative error (%)"));
    EChart->chart()->setTitle(QStringLiteral("Relative errors (%)"));
    EChart->chart()->legend()->setFont(legendFont());
    EChart->chart()->legend()->setAlignment(Qt::AlignRight);
    SetPlotGround(*EChart->chart());

    splitter->addWidget(left);
    splitter->addWidget(EChart);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({169, 521});
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);
    connectList(EOutList, true);
    return tab;
}

QWidget* TGrapherForm::createLagsTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet3"));
    auto* splitter = newSplitter(Qt::Horizontal, tab);
    LOutList = newList(splitter, "LOutList");
    LChart = NewChartView(splitter, QStringLiteral("LChart"), QStringLiteral("Target"), QStringLiteral("Output"));
    SetPlotGround(*LChart->chart());
    splitter->addWidget(LOutList);
    splitter->addWidget(LChart);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({129, 561});
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);
    connectList(LOutList, false);
    return tab;
}

QWidget* TGrapherForm::createGraphsTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet1"));
    auto* splitter = newSplitter(Qt::Horizontal, tab);
    auto* lists = newSplitter(Qt::Vertical, splitter);
    InList = newList(lists, "InList");
    OutList = newList(lists, "OutList");
    lists->addWidget(InList);
    lists->addWidget(OutList);
    lists->setSizes({169, 200});
    FChart = NewChartView(splitter, QStringLiteral("FChart"), QStringLiteral("Input"),
                          QStringLiteral("Output and target"));
    FChart->chart()->legend()->setAlignment(Qt::AlignRight);
    SetPlotGround(*FChart->chart());
    splitter->addWidget(lists);
    splitter->addWidget(FChart);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({129, 561});
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);
    connectList(InList, false);
    connectList(OutList, true);
    return tab;
}

void TGrapherForm::connectList(QListWidget* list, bool checks)
{
    if (checks) {
        connect(list, &QListWidget::itemChanged, this, [this] { UpdateGraphs(); });
        return;
    }
    // A click redraws even on the item already selected; a move by the
    // keyboard redraws too, while a mouse press's change of row waits for
    // its click.
    connect(list, &QListWidget::itemClicked, this, [this] { UpdateGraphs(); });
    connect(list, &QListWidget::currentRowChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton)
            UpdateGraphs();
    });
}

void TGrapherForm::SetNetwork(TNeuroNet* net)
{
    Net = net;
    const QSignalBlocker blockers[] = {QSignalBlocker(InList), QSignalBlocker(OutList), QSignalBlocker(EOutList),
                                       QSignalBlocker(LOutList)};
    for (QListWidget* list : {InList, OutList, EOutList, LOutList})
        list->clear();
    for (QChartView* view : {FChart, EChart, LChart})
        view->chart()->removeAllSeries();
    if (!Net)
        return;

    for (int i = 1; i <= Net->InputCount(); ++i)
        addItem(*InList, QStringLiteral(" Input %1").arg(i), false);
    InList->setCurrentRow(0);
    QChart& fchart = *FChart->chart();
    QChart& echart = *EChart->chart();
    for (int k = 1; k <= Net->OutputCount(); ++k) {
        const QString name = outputName(k);
        addItem(*OutList, name, true);
        auto* line = new QLineSeries;
        line->setName(name);
        AddToAxes(fchart, line);
        newPointSeries(fchart, name);
        addItem(*EOutList, name, true);
        auto* errors = new QLineSeries;
        errors->setName(name);
        AddToAxes(echart, errors);
        addItem(*LOutList, name, false);
    }
    LOutList->setCurrentRow(0);
    AddToAxes(*LChart->chart(), new QLineSeries);
    newPointSeries(*LChart->chart(), QString());

    fchart.legend()->setVisible(fchart.series().size() > 2);
    echart.legend()->setVisible(echart.series().size() > 1);
    for (PlotChart chart : {PlotChart::Graphs, PlotChart::Errors, PlotChart::Lags})
        seriesBounds_[int(chart)].assign(chartOf(chart).series().size(), PlotBounds{});
}

bool TGrapherForm::LoadData(const QString& fileName, bool fromEditor)
{
    Data = TDatasetRows{};
    DataLoaded = false;
    if (!Net)
        return false;
    if (fromEditor) {
        if (!DataForm)
            return false;
        const TMatrix& inputs = DataForm->InputMatrix();
        const TMatrix& outputs = DataForm->OutputMatrix();
        if (outputs.Cols() != Net->OutputCount() || inputs.Cols() != Net->InputCount())
            return false;
        Data = RowsFromMatrices(inputs, outputs);
        DataLoaded = true;
        return true;
    }
    if (!QFileInfo::exists(fileName))
        return false;
    std::string error;
    if (!ReadDatasetRows(fileName.toStdString(), Data, error)) {
        prompts().error(QString::fromStdString(error));
        return false;
    }
    DataLoaded = true;
    return true;
}

bool TGrapherForm::HasData() const
{
    return DataLoaded && Net && Net->InputCount() == Data.Header.InputCount
        && Net->OutputCount() == Data.Header.OutputCount;
}

PlotRequest TGrapherForm::request() const
{
    PlotRequest request;
    request.Input = InList->currentRow() + 1;
    request.GraphOutputs = checkMarks(*OutList);
    request.ErrorOutputs = checkMarks(*EOutList);
    request.LagOutput = LOutList->currentRow() + 1;
    return request;
}

void TGrapherForm::Plot()
{
    if (!HasData())
        return;
    PlotResult result = ComputePlot(*Net, Data, request());
    apply(result);
    if (result.Error)
        std::rethrow_exception(result.Error);
}

QChart& TGrapherForm::chartOf(PlotChart chart) const
{
    switch (chart) {
    case PlotChart::Errors: return *EChart->chart();
    case PlotChart::Lags: return *LChart->chart();
    default: return *FChart->chart();
    }
}

void TGrapherForm::apply(const PlotResult& result)
{
    std::array<bool, 3> touched{};
    for (const SeriesFill& fill : result.Fills) {
        QChart& chart = chartOf(fill.Chart);
        auto* series = qobject_cast<QXYSeries*>(chart.series().value(fill.Series));
        if (!series)
            continue;
        series->replace(ToChartPoints(fill.Points));
        series->setVisible(fill.Visible);
        if (fill.Title) {
            series->setName(QString::fromStdString(*fill.Title));
            keepBlanksInLegend(chart, series);
        }
        PlotBounds bounds;
        bounds.Include(fill.Points);
        seriesBounds_[int(fill.Chart)][fill.Series] = bounds;
        touched[int(fill.Chart)] = true;
    }
    if (result.MeanText)
        MeanEdit->setText(QString::fromStdString(*result.MeanText));
    if (result.RMSText)
        RMSEdit->setText(QString::fromStdString(*result.RMSText));

    for (PlotChart c : {PlotChart::Graphs, PlotChart::Errors, PlotChart::Lags}) {
        if (!touched[int(c)])
            continue;
        QChart& chart = chartOf(c);
        PlotBounds shown;
        for (int s = 0; s < chart.series().size(); ++s)
            if (chart.series()[s]->isVisible())
                shown.Include(seriesBounds_[int(c)][s]);
        FitAxes(chart, shown);
    }
    if (!result.Fills.empty() && InList->currentItem())
        FChart->chart()->axes(Qt::Horizontal).value(0)->setTitleText(InList->currentItem()->text().trimmed());
}

void TGrapherForm::UpdateGraphs()
{
    RunReporting([this] { Plot(); });
}

void TGrapherForm::actLoadExecute()
{
    QString fileName = prompts().openFileName(QStringLiteral("Data Files (*.nld);;All Files (*)"));
    if (!fileName.isEmpty() && LoadData(fileName, false))
        Plot();
}

void TGrapherForm::actLearningExecute()
{
    if (LoadData(QString(), true))
        Plot();
}

void TGrapherForm::actCopyExecute()
{
    QWidget* tab = PageControl->currentWidget();
    QChartView* view = tab == TabSheet2 ? EChart : tab == TabSheet3 ? LChart : FChart;
    CopyChartToClipboard(*view);
}
