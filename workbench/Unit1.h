#pragma once

#include <memory>

#include <QMainWindow>
#include <QString>

#include "data/xMatrix.h"
#include "engine/Neuran.h"
#include "files/DatasetFile.h"
#include "platform/gui/Prompts.h"

class NetworkDiagram;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;
class TAboutBox;
class TDataForm;
class TForm7;
class TGrapherForm;
class TOKBottomDlg;
class TOKBottomDlg1;
class TOKBottomDlg2;
class TOKBottomDlg3;
class TOKBottomDlg4;
class TOKBottomDlg7;
class TOKBottomDlg8;

// FileName while the network has not been saved or opened.
inline const QString kUntitledFileName = QStringLiteral("Untitled");

// The main window: owns the current network, shows it as a diagram and offers
// every command through the menu bar and the toolbar.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    std::unique_ptr<TNeuroNet> Net;
    QString FileName;
    bool Training = false;
    int TrainAlgorithm = 0;
    // The error matrix of a training run (outputs x patterns) and the run's
    // dataset, held only while the run lasts.
    TMatrix TrainErrors;
    TDatasetRows TrainData;

    // Menu "&File".
    QAction* NewNet1;
    QAction* LoadNet1;
    QAction* SaveNet1;
    QAction* SaveNetAs1;
    QAction* ExportAsC1;
    QAction* Exit1;
    // Menu "&Edit" with its "&View" submenu.
    QAction* AddLayer1;
    QAction* N3;
    QAction* InputVector1;
    QMenu* View1;
    QAction* Tool1;
    QAction* Statusbar2;
    QAction* NumberLabels1;
    QAction* Compact1;
    QAction* LearningData1;
    // Menu "&Run".
    QAction* EvaluateOutput1;
    QAction* Grapher1;
    QAction* SpeedProfiler1;
    QAction* OutputChart1;
    QAction* LearningProcess1;
    // Menu "&Help".
    QAction* About1;

    QToolBar* ToolBar1;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton4;
    QToolButton* ToolButton5;
    QToolButton* ToolButton10;
    QToolButton* ToolButton7;
    QToolButton* ToolButton14;
    QToolButton* ToolButton9;
    QToolButton* ToolButton12;

    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;  // 128 pixels: iteration count of a training run
    QLabel* StatusPanel1;  // 192 pixels: the run's error
    QLabel* StatusPanel2;  // 50 pixels: never written

    QScrollArea* ScrollBox1;
    NetworkDiagram* PaintBox1;

    // The dialogs, created after the window in the program's start-up order.
    TOKBottomDlg* OKBottomDlg;
    TOKBottomDlg1* OKBottomDlg1;
    TOKBottomDlg2* OKBottomDlg2;
    TOKBottomDlg3* OKBottomDlg3;
    TOKBottomDlg4* OKBottomDlg4;
    TForm7* Form7;
    TAboutBox* AboutBox;
    TGrapherForm* GrapherForm;
    TOKBottomDlg7* OKBottomDlg7;
    TOKBottomDlg8* OKBottomDlg8;
    TDataForm* DataForm;

    // Command handlers. Each runs inside the error wrapper when reached from
    // a menu item, a toolbar button or the diagram.
    void NewNet1Click();
    void LoadNet1Click();
    void SaveNet1Click();
    void SaveNetAs1Click();
    void ExportAsC1Click();
    void Exit1Click();
    void AddLayer1Click();
    void N3Click();
    void InputVector1Click();
    void Tool1Click();
    void Statusbar2Click();
    void NumberLabels1Click();
    void Compact1Click();
    void LearningData1Click();
    void EvaluateOutput1Click();
    void Grapher1Click();
    void SpeedProfiler1Click();
    void OutputChart1Click();
    void LearningProcess1Click();
    void About1Click();
    void ToolButton10Click();
    void ToolButton14Click();
    void PaintBox1Click();

    void EditLayer(int L);
    void EditInputVector();
    void ShowOutputs();

    // Reads the network file name; on success it replaces Net and becomes
    // FileName. A rejected file is reported and changes nothing.
    void ReadNetFile(const QString& name);
    // Writes Net to name; a failure is reported. True when written.
    bool WriteNetFile(const QString& name);

    // A click on the diagram while a training run is in progress.
    void requestTrainingStop();

    // One run from the confirmed setup dialog to the end of its last epoch.
    void RunTraining();
    // What every training command ends with, after a run, a cancel or an error.
    void CleanUpAfterTraining();

    // Hands the current network and view options to the diagram and redraws it.
    void RedrawDiagram();

    // Runs a command; a conversion, floating point or assertion error (or any
    // other exception) ends it with the error box instead of reaching Qt.
    template <class Command>
    void runCommand(Command&& command);

protected:
    QMenu* createPopupMenu() override;
    // During a training run closing waits for the end of the current epoch.
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createDiagram();
    QAction* addCommand(QMenu* menu, const char* objectName, const QString& caption,
                        void (TForm1::*handler)());
    QToolButton* addToolButton(const char* objectName, const QString& caption,
                               const QString& hint, int icon, void (TForm1::*handler)());
    void connectCommand(QAction* action, void (TForm1::*handler)());
    void setCaption(const QString& fileName);
    void saveAs();
    void open();
    void endTrainingAfterError();

    bool closeAfterTraining_ = false;
};

template <class Command>
void TForm1::runCommand(Command&& command)
{
    RunReporting(std::forward<Command>(command));
}
