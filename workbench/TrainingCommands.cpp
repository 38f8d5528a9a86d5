// The training command of the main window.

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>

#include "data/NumberText.h"
#include "data/uData.h"
#include "engine/Extended.h"
#include "platform/QtPlatform.h"
#include "platform/gui/Prompts.h"
#include "training/ProgressWindow.h"
#include "training/TrainingRun.h"
#include "training/TrainingSetupDialog.h"
#include "training/TrainingView.h"
#include "workbench/Unit1.h"

namespace {

double parseDouble(const QLineEdit& edit)
{
    return NarrowToDouble(ParseFloat(edit.text().toStdString()));
}

}  // namespace

void TForm1::LearningProcess1Click()
{
    if (Training)
        return;
    if (Net->LayerCount() < 1) {
        prompts().information(QStringLiteral("Network contains no neurons!"));
        return;
    }
    OKBottomDlg4->NetInputs = Net->InputCount();
    OKBottomDlg4->NetOutputs = Net->OutputCount();
    OKBottomDlg4->actStartUpdate();
    Form7->hide();
    if (prompts().runModal(*OKBottomDlg4)) {
        try {
            RunTraining();
        } catch (...) {
            endTrainingAfterError();
            CleanUpAfterTraining();
            throw;
        }
    }
    CleanUpAfterTraining();
}

void TForm1::RunTraining()
{
    TOKBottomDlg4& dialog = *OKBottomDlg4;
    TTrainingSettings settings;
    settings.Buffer = dialog.BufEdit->value();
    Training = true;
    const bool fast = dialog.PageControl1->currentWidget() == dialog.TabSheet2;
    TrainAlgorithm = fast ? 2 : 1;
    settings.Algorithm = TrainAlgorithm;
    Form7->BeginRun(QStringLiteral(" Training - ")
                    + (fast ? QStringLiteral("Fast Back Propagation") : QStringLiteral("Error Back Propagation")));

    settings.MaxIterations = ParseInteger(dialog.Edit5->text().toStdString());
    settings.AcceptableError = parseDouble(*dialog.Edit6);
    if (fast) {
        Net->LearningRate = parseDouble(*dialog.Edit2);
        Net->Momentum = parseDouble(*dialog.Edit4);
    } else {
        Net->LearningRate = parseDouble(*dialog.Edit1);
        Net->Momentum = 0;
    }
    ToolBar1->setEnabled(false);

    const bool loaded = dialog.DataSrc->isChecked()
                            ? LoadTrainingSet(DataForm->InputMatrix(), DataForm->OutputMatrix(), *Net, TrainData)
                            : LoadTrainingSet(dialog.Edit3->text().toStdString(), *Net, TrainData);
    int iterations = 0;
    double epochMaxError = 0;
    if (loaded) {
        SetRangesFromData(*Net, TrainData);
        TTrainingRun run(*Net, TrainData, TrainErrors, settings);
        Form7->SetOutputs(Net->OutputCount());
        TTrainingView view(*Form7, StatusPanel0, StatusPanel1);
        try {
            run.Run(Form7->StopState, [&view] { view.Pump(); },
                    [&view](const TWindowSummary& summary) { view.Display(summary); });
        } catch (...) {
            view.Flush();
            throw;
        }
        view.Flush();
        if (run.Overflowed())
            prompts().warning(QStringLiteral("Overflow while evaluating the outputs!"));
        FreeTrainingSet(*Net, TrainData);
        iterations = run.Iterations();
        epochMaxError = run.EpochMaxError();
    }
    Form7->EndRun(iterations, epochMaxError, QString::fromStdString(OutcomeText(Form7->StopState)));
    platform::Beep();
}

void TForm1::endTrainingAfterError()
{
    FreeTrainingSet(*Net, TrainData);
    if (Training) {
        Form7->Button1->setText(QStringLiteral("Close"));
        Form7->OutcomeLabel->setText(QStringLiteral("Ended by an error"));
    }
}

void TForm1::CleanUpAfterTraining()
{
    Training = false;
    ToolBar1->setEnabled(true);
    RedrawDiagram();
    StatusPanel0->clear();
    StatusPanel1->clear();
    OKBottomDlg4->Edit3->clear();
    OKBottomDlg4->FileChecked = false;
    if (closeAfterTraining_) {
        closeAfterTraining_ = false;
        // After any error box of the command.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (Training) {
        if (Form7->StopState == kRunning)
            Form7->StopState = kStoppedByUser;
        closeAfterTraining_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
