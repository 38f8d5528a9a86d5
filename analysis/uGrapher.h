#pragma once

#include <array>
#include <vector>

#include <QDialog>
#include <QString>

#include "analysis/GraphPlot.h"
#include "analysis/PlotPoints.h"
#include "files/DatasetFile.h"

class QAction;
class QChart;
class QChartView;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QWidget;
class TDataForm;
class TNeuroNet;

// The graphs window: compares the network lent to it with a dataset from a
// file or from the training data editor, in three charts.
class TGrapherForm : public QDialog {
    Q_OBJECT
public:
    explicit TGrapherForm(QWidget* parent = nullptr);

    TNeuroNet* Net = nullptr;          // borrowed; attached by SetNetwork before every showing
    TDataForm* DataForm = nullptr;     // the editor, the source of "&Learning"; created after this window
    TDatasetRows Data;                 // Data.Header is the dataset's header
    bool DataLoaded = false;

    QToolBar* ToolBar1;
    QAction* actLoad;
    QAction* actLearning;
    QAction* actCopy;
    QStatusBar* StatusBar1;
    QTabWidget* PageControl;
    QWidget* TabSheet2;  // " Errors "
    QWidget* TabSheet3;  // " Lags "
    QWidget* TabSheet1;  // " Graphs  "
    QListWidget* EOutList;
    QLineEdit* MeanEdit;
    QLineEdit* RMSEdit;
    QChartView* EChart;
    QListWidget* LOutList;
    QChartView* LChart;
    QListWidget* InList;
    QListWidget* OutList;
    QChartView* FChart;

    void SetNetwork(TNeuroNet* net);
    // Replaces the loaded data; false when there is nothing to plot with.
    bool LoadData(const QString& fileName, bool fromEditor);
    bool HasData() const;
    void Plot();

    void actLoadExecute();
    void actLearningExecute();
    void actCopyExecute();
    void UpdateGraphs();

private:
    QWidget* createErrorsTab();
    QWidget* createLagsTab();
    QWidget* createGraphsTab();
    PlotRequest request() const;
    void apply(const PlotResult& result);
    QChart& chartOf(PlotChart chart) const;
    void connectList(QListWidget* list, bool checks);

    // What each series shows, for scaling the axes to the visible ones.
    std::array<std::vector<PlotBounds>, 3> seriesBounds_;
};
