#include "workbench/Unit1.h"

#include <exception>

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "analysis/OutputChartsDialog.h"
#include "analysis/ProfilerDialog.h"
#include "analysis/uGrapher.h"
#include "data/uData.h"
#include "platform/gui/Prompts.h"
#include "platform/gui/ScreenPlacement.h"
#include "training/ProgressWindow.h"
#include "training/TrainingRun.h"
#include "training/TrainingSetupDialog.h"
#include "workbench/AboutBox.h"
#include "workbench/AddLayerDialog.h"
#include "workbench/InputVectorDialog.h"
#include "workbench/LayerDialog.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/OutputsDialog.h"
#include "workbench/ToolbarIcons.h"

namespace {

constexpr int kPaintBoxOffset = 8;

// Keeps the scrolled area as large as the paint surface plus its offset, so
// the scroll bars follow every change of the diagram's size.
class ScrollContents : public QWidget {
public:
    ScrollContents(QWidget* parent) : QWidget(parent) {}
    void follow(QWidget* surface)
    {
        surface_ = surface;
        surface->installEventFilter(this);
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == surface_ && event->type() == QEvent::Resize)
            fit();
        return false;
    }

private:
    void fit()
    {
        resize(kPaintBoxOffset + surface_->width(), kPaintBoxOffset + surface_->height());
    }

    QWidget* surface_ = nullptr;
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Corvalith"));
    setWindowIcon(ProgramIcon());

    Net = std::make_unique<TNeuroNet>(1);
    FileName = kUntitledFileName;

    createMenus();
    createToolBar();
    createDiagram();
    createStatusBar();

    resize(914, 601);
    CentreOnScreen(this);

    OKBottomDlg = new TOKBottomDlg(this);
    OKBottomDlg1 = new TOKBottomDlg1(this);
    OKBottomDlg2 = new TOKBottomDlg2(this);
    OKBottomDlg3 = new TOKBottomDlg3(this);
    OKBottomDlg4 = new TOKBottomDlg4(this);
    Form7 = new TForm7(this);
    AboutBox = new TAboutBox(this);
    GrapherForm = new TGrapherForm(this);
    OKBottomDlg7 = new TOKBottomDlg7(this);
    OKBottomDlg8 = new TOKBottomDlg8(this);
    DataForm = new TDataForm(this);
    OKBottomDlg4->SetEditor(DataForm);
    GrapherForm->DataForm = DataForm;

    RedrawDiagram();
}

// Members go before the base class deletes the child widgets, so the network
// is freed first; the diagram only borrows it and never reaches it on the way out.
TForm1::~TForm1() = default;

QAction* TForm1::addCommand(QMenu* menu, const char* objectName, const QString& caption,
                            void (TForm1::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    connectCommand(action, handler);
    return action;
}

void TForm1::connectCommand(QAction* action, void (TForm1::*handler)())
{
    connect(action, &QAction::triggered, this, [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
}

void TForm1::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    NewNet1 = addCommand(file, "NewNet1", QStringLiteral("&New"), &TForm1::NewNet1Click);
    NewNet1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    LoadNet1 = addCommand(file, "LoadNet1", QStringLiteral("&Open ..."), &TForm1::LoadNet1Click);
    LoadNet1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    SaveNet1 = addCommand(file, "SaveNet1", QStringLiteral("&Save ... "), &TForm1::SaveNet1Click);
    SaveNet1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveNetAs1 = addCommand(file, "SaveNetAs1", QStringLiteral("Save &as ..."), &TForm1::SaveNetAs1Click);
    ExportAsC1 = addCommand(file, "ExportAsC1", QStringLiteral("Export as &C ..."), &TForm1::ExportAsC1Click);
    file->addSeparator();
    Exit1 = addCommand(file, "Exit1", QStringLiteral("&Exit"), &TForm1::Exit1Click);
    Exit1->setShortcut(QKeySequence(Qt::Key_F10));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    AddLayer1 = addCommand(edit, "AddLayer1", QStringLiteral("&Add layer ..."), &TForm1::AddLayer1Click);
    AddLayer1->setShortcut(QKeySequence(Qt::Key_F5));
    edit->addSeparator();
    N3 = addCommand(edit, "N3", QStringLiteral("&Layer parameters ..."), &TForm1::N3Click);
    N3->setEnabled(false);
    InputVector1 = addCommand(edit, "InputVector1", QStringLiteral("&Input vector ..."), &TForm1::InputVector1Click);
    edit->addSeparator();
    View1 = edit->addMenu(QStringLiteral("&View"));
    View1->setObjectName(QStringLiteral("View1"));
    Tool1 = addCommand(View1, "Tool1", QStringLiteral("&Toolbar"), &TForm1::Tool1Click);
    Statusbar2 = addCommand(View1, "Statusbar2", QStringLiteral("&Status"), &TForm1::Statusbar2Click);
    NumberLabels1 = addCommand(View1, "NumberLabels1", QStringLiteral("&Labels"), &TForm1::NumberLabels1Click);
    Compact1 = addCommand(View1, "Compact1", QStringLiteral("&Compact"), &TForm1::Compact1Click);
    // Qt toggles the check mark before the handler runs.
    for (QAction* option : {Tool1, Statusbar2, NumberLabels1, Compact1}) {
        option->setCheckable(true);
        option->setChecked(option != Compact1);
    }
    edit->addSeparator();
    LearningData1 = addCommand(edit, "LearningData1", QStringLiteral("&Training data ..."), &TForm1::LearningData1Click);

    QMenu* run = menuBar()->addMenu(QStringLiteral("&Run"));
    run->setObjectName(QStringLiteral("RunMenu"));
    EvaluateOutput1 = addCommand(run, "EvaluateOutput1", QStringLiteral("&Evaluate network"), &TForm1::EvaluateOutput1Click);
    EvaluateOutput1->setShortcut(QKeySequence(Qt::Key_F9));
    run->addSeparator();
    Grapher1 = addCommand(run, "Grapher1", QStringLiteral("&Graphs ..."), &TForm1::Grapher1Click);
    SpeedProfiler1 = addCommand(run, "SpeedProfiler1", QStringLiteral("&Profiler ..."), &TForm1::SpeedProfiler1Click);
    OutputChart1 = addCommand(run, "OutputChart1", QStringLiteral("&Charts ..."), &TForm1::OutputChart1Click);
    run->addSeparator();
    LearningProcess1 = addCommand(run, "LearningProcess1", QStringLiteral("&Network training ..."), &TForm1::LearningProcess1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    About1 = addCommand(help, "About1", QStringLiteral("&About ..."), &TForm1::About1Click);
}

QToolButton* TForm1::addToolButton(const char* objectName, const QString& caption,
                                   const QString& hint, int icon, void (TForm1::*handler)())
{
    QAction* action = ToolBar1->addAction(ToolbarIcon(icon), caption);
    action->setObjectName(QString::fromLatin1(objectName) + QStringLiteral("Action"));
    action->setToolTip(hint);
    connectCommand(action, handler);
    auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action));
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

void TForm1::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);

    ToolButton1 = addToolButton("ToolButton1", QStringLiteral("New Net"), QStringLiteral(" Create new network "), 0, &TForm1::NewNet1Click);
    ToolButton2 = addToolButton("ToolButton2", QStringLiteral("Add Layer"), QStringLiteral(" Add layer of neurons (F5)"), 1, &TForm1::AddLayer1Click);
    ToolBar1->addSeparator();
    ToolButton4 = addToolButton("ToolButton4", QStringLiteral("Load Network"), QStringLiteral(" Load network from file "), 2, &TForm1::LoadNet1Click);
    ToolButton5 = addToolButton("ToolButton5", QStringLiteral("Save Network"), QStringLiteral(" Save network to file "), 3, &TForm1::SaveNet1Click);
    ToolButton10 = addToolButton("ToolButton10", QStringLiteral("Reload Net"), QStringLiteral(" Reload network from file "), 4, &TForm1::ToolButton10Click);
    ToolBar1->addSeparator();
    ToolButton7 = addToolButton("ToolButton7", QStringLiteral("Calculate"), QStringLiteral(" Evaluate network (F9) "), 5, &TForm1::EvaluateOutput1Click);
    ToolBar1->addSeparator();
    ToolButton14 = addToolButton("ToolButton14", QString(), QStringLiteral(" Randomize network "), 9, &TForm1::ToolButton14Click);
    ToolButton9 = addToolButton("ToolButton9", QStringLiteral("Learning"), QStringLiteral(" Network training "), 6, &TForm1::LearningProcess1Click);
    ToolBar1->addSeparator();
    ToolButton12 = addToolButton("ToolButton12", QStringLiteral("Grapher"), QStringLiteral(" Plotting graphs "), 7, &TForm1::Grapher1Click);
    ToolBar1->addSeparator();
}

void TForm1::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    QLabel** panels[] = {&StatusPanel0, &StatusPanel1, &StatusPanel2};
    const int widths[] = {128, 192, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel);
        *panels[i] = panel;
    }
}

void TForm1::createDiagram()
{
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    QPalette grey = ScrollBox1->palette();
    grey.setColor(QPalette::Window, kDiagramBackground);
    ScrollBox1->setPalette(grey);
    ScrollBox1->viewport()->setPalette(grey);
    ScrollBox1->viewport()->setBackgroundRole(QPalette::Window);
    ScrollBox1->viewport()->setAutoFillBackground(true);

    auto* contents = new ScrollContents(ScrollBox1);
    contents->setObjectName(QStringLiteral("ScrollBox1Contents"));
    PaintBox1 = new NetworkDiagram(contents);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->move(kPaintBoxOffset, kPaintBoxOffset);
    contents->follow(PaintBox1);
    ScrollBox1->setWidget(contents);
    // setWidget turns on the contents' own fill; the grey must show through.
    contents->setAutoFillBackground(false);
    setCentralWidget(ScrollBox1);

    connect(PaintBox1, &NetworkDiagram::clicked, this, [this] { runCommand([this] { PaintBox1Click(); }); });
}

QMenu* TForm1::createPopupMenu()
{
    // The toolbar is shown and hidden through "&Toolbar" only.
    return nullptr;
}



void TForm1::setCaption(const QString& fileName)
{
    setWindowTitle(fileName.isEmpty() ? QStringLiteral(" Corvalith")
                                      : QStringLiteral(" Corvalith - ") + fileName);
}

void TForm1::RedrawDiagram()
{
    PaintBox1->setView(Net.get(), NumberLabels1->isChecked(), Compact1->isChecked());
}

void TForm1::Exit1Click()
{
    if (Training)
        return;
    close();
}

void TForm1::Tool1Click()
{
    // The action has already toggled its check mark.
    bool show = Tool1->isChecked();
    ToolBar1->setVisible(show);
    // A training run keeps the toolbar disabled to its end.
    ToolBar1->setEnabled(show && !Training);
}

void TForm1::Statusbar2Click()
{
    bool show = Statusbar2->isChecked();
    StatusBar1->setVisible(show);
    StatusBar1->setEnabled(show);
}

void TForm1::NumberLabels1Click()
{
    RedrawDiagram();
}

void TForm1::Compact1Click()
{
    if (Compact1->isChecked())
        NumberLabels1->setChecked(false);
    NumberLabels1->setEnabled(!Compact1->isChecked());
    RedrawDiagram();
}

void TForm1::EvaluateOutput1Click()
{
    if (Training)
        return;
    // A failed evaluation shows itself through the colour of the output labels.
    Net->Evaluate();
    RedrawDiagram();
}

void TForm1::ToolButton14Click()
{
    if (!prompts().confirm(QStringLiteral("Are you sure you want to randomize the network?")))
        return;
    Net->Randomize();
    RedrawDiagram();
}

void TForm1::About1Click()
{
    if (Training)
        return;
    prompts().runModal(*AboutBox);
}

// The windows of these commands arrive with their own features.
void TForm1::LearningData1Click()
{
    if (Training)
        return;
    prompts().runModal(*DataForm);
}

void TForm1::Grapher1Click()
{
    if (Training)
        return;
    GrapherForm->SetNetwork(Net.get());
    prompts().runModal(*GrapherForm);
}

void TForm1::SpeedProfiler1Click()
{
    if (Training)
        return;
    OKBottomDlg7->Net = Net.get();
    prompts().runModal(*OKBottomDlg7);
}

void TForm1::OutputChart1Click()
{
    if (Training)
        return;
    if (Net->OutputCount() < 2) {
        prompts().warning(QStringLiteral("This could be run only for multiple outputs networks"));
        return;
    }
    // A failed evaluation leaves the outputs as they were; the diagram shows them dark red.
    Net->Evaluate();
    RedrawDiagram();
    OKBottomDlg8->ShowBars(Net->Outputs);
    prompts().runModal(*OKBottomDlg8);
}

void TForm1::requestTrainingStop()
{
    Form7->StopState = kStoppedByUser;
}

void TForm1::PaintBox1Click()
{
    if (Training) {
        requestTrainingStop();
        return;
    }
    int j = PaintBox1->HitTest();
    if (j < 0)
        return;
    if (j == 0)
        EditInputVector();
    else if (j < PaintBox1->LastBox)
        EditLayer(j);
    else if (j == PaintBox1->LastBox)
        ShowOutputs();
}
