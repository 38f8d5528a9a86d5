#include "data/uData.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

#include "data/CountEdit.h"
#include "data/DataIcons.h"
#include "data/NumberText.h"
#include "data/uMatEdit.h"
#include "files/DatasetFile.h"
#include "platform/gui/Prompts.h"
#include "platform/gui/ScreenPlacement.h"

namespace {

const QString kFilter = QStringLiteral("Learning Data Files (*.nld);;All Files (*)");
constexpr int kSideMinimum = 128;

// The count a spin edit's text asks for, or false while it is not an integer.
bool countOf(const QString& text, int& count)
{
    std::int32_t value = 0;
    if (!TryParseInteger(text.toStdString(), value))
        return false;
    count = std::max(value, std::int32_t{1});
    return true;
}

std::string fileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace

TDataForm::TDataForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DataForm"));
    setWindowTitle(QStringLiteral("Training data editor"));
    setSizeGripEnabled(true);
    resize(743, 520);
    CentreOnScreen(this);

    buildToolBar();

    LPanel = newSidePanel(QStringLiteral("LPanel"), QStringLiteral("Panel4"), QStringLiteral("Inputs"));
    RPanel = newSidePanel(QStringLiteral("RPanel"), QStringLiteral("Panel5"), QStringLiteral("Outputs"));
    InputEditor = new TMatEdit(LPanel);
    LPanel->layout()->addWidget(InputEditor);
    OutputEditor = new TMatEdit(RPanel);
    RPanel->layout()->addWidget(OutputEditor);
    connect(InputEditor->Grid, &TGridView::topLeftChanged, this, &TDataForm::SyncOutputRows);
    connect(OutputEditor->Grid, &TGridView::topLeftChanged, this, &TDataForm::SyncInputRows);
    InputEditor->UpdateGrid();
    OutputEditor->UpdateGrid();

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(6);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setOpaqueResize(true);
    Splitter1->addWidget(LPanel);
    Splitter1->addWidget(RPanel);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({743 - 367 - 6, 367});

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(StatusBar);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TDataForm::actPasteUpdate);
    actPasteUpdate();
}

TMatrix& TDataForm::InputMatrix() { return InputEditor->Matrix(); }

TMatrix& TDataForm::OutputMatrix() { return OutputEditor->Matrix(); }

void TDataForm::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);

    const auto makeAction = [this](const char* name, const QString& caption, const QString& hint, int image,
                                   void (TDataForm::*execute)()) {
        auto* action = new QAction(DataImage(image), caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, execute);
        addAction(action);
        return action;
    };
    actNew = makeAction("actNew", QStringLiteral("Nicaaou"), QStringLiteral(" New dataset "), 5,
                        &TDataForm::actNewExecute);
    actOpen = makeAction("actOpen", QStringLiteral("&Open dataset ..."), QStringLiteral(" Load dataset from file "),
                         0, &TDataForm::actOpenExecute);
    actOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actSave = makeAction("actSave", QStringLiteral("&Save dataset ..."), QStringLiteral(" Save dataset to file "), 1,
                         &TDataForm::actSaveExecute);
    actSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actPasteIn = makeAction("actPasteIn", QStringLiteral("Paste inputs"),
                            QStringLiteral(" Paste inputs from the clipboard "), 3, &TDataForm::actPasteInExecute);
    actPasteOut = makeAction("actPasteOut", QStringLiteral("Paste outputs"),
                             QStringLiteral(" Paste outputs from the clipboard "), 3, &TDataForm::actPasteOutExecute);
    actImportText = makeAction("actImportText", QStringLiteral("Import text ..."),
                               QStringLiteral(" Import dataset from a text file "), 6, &TDataForm::actImportTextExecute);
    actExportText = makeAction("actExportText", QStringLiteral("Export text ..."),
                               QStringLiteral(" Export dataset to a text file "), 7, &TDataForm::actExportTextExecute);
    actClose = makeAction("actClose", QStringLiteral("&Close"), QStringLiteral(" Close data editor  "), 2,
                          &TDataForm::actCloseExecute);

    const auto addButton = [this](QAction* action, const char* name) {
        ToolBar1->addAction(action);
        ToolBar1->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    };
    const auto addSeparator = [this](const char* name) {
        ToolBar1->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    addButton(actNew, "ToolButton9");
    addButton(actOpen, "ToolButton1");
    addButton(actSave, "ToolButton2");
    addSeparator("ToolButton4");
    addButton(actPasteIn, "ToolButton6");
    addButton(actPasteOut, "ToolButton7");
    addButton(actImportText, "ImportTextButton");
    addButton(actExportText, "ExportTextButton");

    PatEdit = new TCountEdit(this);
    PatEdit->setObjectName(QStringLiteral("PatEdit"));
    InEdit = new TCountEdit(this);
    InEdit->setObjectName(QStringLiteral("InEdit"));
    OutEdit = new TCountEdit(this);
    OutEdit->setObjectName(QStringLiteral("OutEdit"));
    ToolBar1->addWidget(newCountPanel(QStringLiteral("Panel3"), QStringLiteral("Label3"),
                                      QStringLiteral("Pairs number"), PatEdit));
    ToolBar1->addWidget(newCountPanel(QStringLiteral("Panel2"), QStringLiteral("Label2"), QStringLiteral("Inputs"),
                                      InEdit));
    ToolBar1->addWidget(newCountPanel(QStringLiteral("Panel1"), QStringLiteral("Label1"), QStringLiteral("Outputs"),
                                      OutEdit));
    connect(PatEdit, &QSpinBox::textChanged, this, &TDataForm::PatEditChange);
    connect(InEdit, &QSpinBox::textChanged, this, &TDataForm::InEditChange);
    connect(OutEdit, &QSpinBox::textChanged, this, &TDataForm::OutEditChange);

    addSeparator("ToolButton5");
    addButton(actClose, "ToolButton3");
    addSeparator("ToolButton8");
}

QWidget* TDataForm::newCountPanel(const QString& panelName, const QString& labelName, const QString& caption,
                                  TCountEdit* edit)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(panelName);
    auto* label = new QLabel(caption, panel);
    label->setObjectName(labelName);
    label->setBuddy(edit);
    edit->setParent(panel);
    edit->setFixedWidth(72);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 0, 4, 0);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addWidget(edit);
    return panel;
}

QFrame* TDataForm::newSidePanel(const QString& panelName, const QString& titleName, const QString& title)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(panelName);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(kSideMinimum);
    auto* caption = new QLabel(title, panel);
    caption->setObjectName(titleName);
    caption->setFixedHeight(20);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(caption);
    return panel;
}

void TDataForm::showEvent(QShowEvent* event)
{
    actPasteUpdate();
    QDialog::showEvent(event);
}

void TDataForm::PatEditChange(const QString& text)
{
    int count = 0;
    if (!countOf(text, count))
        return;
    InputMatrix().Resize(count, InputMatrix().Cols());
    InputEditor->UpdateGrid();
    OutputMatrix().Resize(count, OutputMatrix().Cols());
    OutputEditor->UpdateGrid();
}

void TDataForm::InEditChange(const QString& text)
{
    int count = 0;
    if (!countOf(text, count))
        return;
    InputMatrix().Resize(InputMatrix().Rows(), count);
    InputEditor->UpdateGrid();
}

void TDataForm::OutEditChange(const QString& text)
{
    int count = 0;
    if (!countOf(text, count))
        return;
    OutputMatrix().Resize(OutputMatrix().Rows(), count);
    OutputEditor->UpdateGrid();
}

// The grid that follows may not reach the row the other shows (a horizontal
// scroll bar leaves it fewer rows); its answer must not pull the first one back.
void TDataForm::SyncOutputRows()
{
    if (std::exchange(syncing_, true))
        return;
    OutputEditor->Grid->setTopRow(InputEditor->Grid->topRow());
    syncing_ = false;
}

void TDataForm::SyncInputRows()
{
    if (std::exchange(syncing_, true))
        return;
    InputEditor->Grid->setTopRow(OutputEditor->Grid->topRow());
    syncing_ = false;
}

void TDataForm::actNewExecute()
{
    InputMatrix().Fill(0);
    OutputMatrix().Fill(0);
    updateGrids();
}

void TDataForm::actOpenExecute()
{
    if (openFolder_.isEmpty())
        openFolder_ = QCoreApplication::applicationDirPath();
    const QString name = prompts().openFileName(kFilter, openFolder_);
    if (name.isEmpty())
        return;
    openFolder_ = QFileInfo(name).absolutePath();
    ReadDataset(name);
}

void TDataForm::ReadDataset(const QString& fileName)
{
    TMatrix inputs, outputs;
    std::string error;
    const DatasetReadResult result = ReadDatasetFile(fileNameBytes(fileName), inputs, outputs, error);
    if (result == DatasetReadResult::Failed) {
        prompts().error(QString::fromStdString(error));
        return;
    }
    if (result == DatasetReadResult::Loaded)
        takeDataset(std::move(inputs), std::move(outputs));
    else
        updateGrids();
}

// The spin edits show the new counts (and resize the matrices on the way),
// then the matrices take the dataset's own dimensions, beyond 1000 as well.
void TDataForm::takeDataset(TMatrix&& inputs, TMatrix&& outputs)
{
    PatEdit->setCount(inputs.Rows());
    InEdit->setCount(inputs.Cols());
    OutEdit->setCount(outputs.Cols());
    InputMatrix() = std::move(inputs);
    OutputMatrix() = std::move(outputs);
    updateGrids();
}

void TDataForm::updateGrids()
{
    InputEditor->UpdateGrid();
    OutputEditor->UpdateGrid();
}

void TDataForm::actSaveExecute()
{
    if (saveFolder_.isEmpty())
        saveFolder_ = QCoreApplication::applicationDirPath();
    const QString name = prompts().saveFileName(saveFolder_, kFilter, QStringLiteral("nld"), true);
    if (name.isEmpty())
        return;
    saveFolder_ = QFileInfo(name).absolutePath();
    WriteDataset(name);
}

void TDataForm::WriteDataset(const QString& fileName)
{
    std::string error;
    if (!WriteDatasetFile(fileNameBytes(fileName), InputMatrix(), OutputMatrix(), error))
        prompts().error(QString::fromStdString(error));
}

void TDataForm::actPasteInExecute() { InputEditor->Paste(); }

void TDataForm::actPasteOutExecute() { OutputEditor->Paste(); }

void TDataForm::actPasteUpdate()
{
    const bool enabled = InputEditor->CanPaste() || OutputEditor->CanPaste();
    actPasteIn->setEnabled(enabled);
    actPasteOut->setEnabled(enabled);
}

void TDataForm::actCloseExecute() { accept(); }
