#include <cmath>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QChartView>
#include <QChart>

#include "data/NumberText.h"
#include "data/uData.h"
#include "files/DatasetFile.h"
#include "training/ProgressWindow.h"
#include "training/TrainingRun.h"
#include "training/TrainingSetupDialog.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/Unit1Fixture.h"

namespace {

using Rows = std::vector<std::vector<double>>;
const Rows kXorInputs = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
const Rows kXorTargets = {{0}, {1}, {1}, {0}};

TMatrix matrixOf(const Rows& rows)
{
    TMatrix m(int(rows.size()), int(rows[0].size()));
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            m.SetItem(r, c, rows[r][c]);
    return m;
}

// The same layers, parameters, weights and biases.
TNeuroNet copyOf(const TNeuroNet& net)
{
    TNeuroNet twin(net.InputCount());
    for (int k = 1; k <= net.LayerCount(); ++k) {
        twin.AddLayer(net.Layer(k).NeuronCount(), net.Layer(k).Params);
        twin.Layer(k).Weights = net.Layer(k).Weights;
        twin.Layer(k).Bias = net.Layer(k).Bias;
    }
    return twin;
}

std::vector<double> allWeights(const TNeuroNet& net)
{
    std::vector<double> all;
    for (const auto& layer : net.Layers) {
        all.insert(all.end(), layer->Weights.begin(), layer->Weights.end());
        all.insert(all.end(), layer->Bias.begin(), layer->Bias.end());
    }
    return all;
}

class TrainingCommand : public Unit1Fixture {
protected:
    // What the person chooses in the setup dialog.
    struct Setup {
        QString file;  // browsed for when not empty
        bool editor = false;
        bool fast = false;
        QString speed = "0.01", momentum = "0.01", iterations = "1000", acceptable = "0";
        int buffer = 250;
        std::function<void(TOKBottomDlg4&)> before;  // last changes before Start
        bool start = true;
    };

    void train(const Setup& s)
    {
        if (!s.file.isEmpty())
            script.answerFile(s.file);
        answerDialog<TOKBottomDlg4>([this, s](TOKBottomDlg4& dlg) {
            EXPECT_FALSE(form->Form7->isVisible()) << "hidden before the dialog shows";
            EXPECT_EQ(dlg.NetInputs, form->Net->InputCount());
            EXPECT_EQ(dlg.NetOutputs, form->Net->OutputCount());
            if (!s.file.isEmpty())
                dlg.Button1->click();
            dlg.DataSrc->setChecked(s.editor);
            dlg.PageControl1->setCurrentWidget(s.fast ? dlg.TabSheet2 : dlg.TabSheet1);
            (s.fast ? dlg.Edit2 : dlg.Edit1)->setText(s.speed);
            dlg.Edit4->setText(s.momentum);
            dlg.Edit5->setText(s.iterations);
            dlg.Edit6->setText(s.acceptable);
            dlg.BufEdit->setValue(s.buffer);
            if (s.before)
                s.before(dlg);
            if (s.start) {
                EXPECT_TRUE(dlg.OKBtn->isEnabled());
            }
            return s.start;
        });
        form->LearningProcess1->trigger();
    }

    QString dataset(const QString& name, const Rows& inputs, const Rows& targets)
    {
        std::string error;
        EXPECT_TRUE(WriteDatasetFile(path(name).toStdString(), matrixOf(inputs), matrixOf(targets), error)) << error;
        return path(name);
    }

    void xorNetwork()
    {
        newNetwork(2);
        addLayer(2, 2);
        addLayer(1, 0);
    }

    // The window as every end of a command leaves it.
    void expectCleanedUp()
    {
        EXPECT_FALSE(form->Training);
        EXPECT_TRUE(form->ToolBar1->isEnabled());
        EXPECT_TRUE(form->StatusPanel0->text().isEmpty());
        EXPECT_TRUE(form->StatusPanel1->text().isEmpty());
        EXPECT_TRUE(form->OKBottomDlg4->Edit3->text().isEmpty());
        EXPECT_FALSE(form->OKBottomDlg4->FileChecked);
        EXPECT_TRUE(form->TrainData.Values.empty());
        for (const auto& layer : form->Net->Layers)
            EXPECT_FALSE(layer->HasTrainingBuffers());
    }

    TForm7& progress() { return *form->Form7; }
};

TEST_F(TrainingCommand, ANetworkWithoutLayersIsRefused)
{
    form->LearningProcess1->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].kind, ScriptedPrompts::Kind::Information);
    EXPECT_EQ(script.messages[0].text, "Network contains no neurons!");
    EXPECT_TRUE(script.dialogsShown.empty());
}

TEST_F(TrainingCommand, AWholeRunOnAFileGivesTheCoresNumbersAndShowsThem)
{
    xorNetwork();
    TNeuroNet twin = copyOf(*form->Net);
    const QString file = dataset("xor.nld", kXorInputs, kXorTargets);
    form->show();
    {
        Setup s;
        s.file = file;
        train(s);
    }

    EXPECT_TRUE(script.messages.empty());
    expectCleanedUp();
    EXPECT_EQ(form->TrainAlgorithm, 1);
    EXPECT_EQ(form->Net->LearningRate, 0.01);
    EXPECT_EQ(form->Net->Momentum, 0);

    // The same run without windows.
    twin.LearningRate = 0.01;
    TDatasetRows rows;
    ASSERT_TRUE(LoadTrainingSet(file.toStdString(), twin, rows));
    SetRangesFromData(twin, rows);
    TMatrix errors;
    TTrainingRun run(twin, rows, errors, {1, 1000, 0, 250});
    int stopState = 0;
    std::vector<TWindowSummary> windows;
    run.Run(stopState, {}, [&](const TWindowSummary& w) { windows.push_back(w); });
    FreeTrainingSet(twin, rows);
    EXPECT_EQ(allWeights(*form->Net), allWeights(twin));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(form->Net->InputRanges[i].Min, 0);
        EXPECT_EQ(form->Net->InputRanges[i].Max, 1);
    }
    EXPECT_EQ(form->Net->OutputRanges[0].Max, 1);
    EXPECT_FALSE(form->Net->Evaluated) << "the outputs shown are of the weights before the last update";

    // The progress window stays open with the final state.
    EXPECT_TRUE(progress().isVisible());
    EXPECT_EQ(progress().windowTitle(), " Training - Error Back Propagation");
    EXPECT_EQ(progress().StopState, 2);
    EXPECT_EQ(progress().Button1->text(), "Close");
    EXPECT_EQ(progress().OutcomeLabel->text(), "Iteration limit achieved");
    EXPECT_EQ(progress().Edit1->text(), " 1000");
    EXPECT_EQ(progress().Edit2->text(), " " + QString::fromStdString(FormatGeneral(100.0L * run.EpochMaxError())));
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(progress().MeanEdit->text(), " " + QString::fromStdString(FormatGeneral(windows[3].Average)));
    EXPECT_EQ(progress().RMSEdit->text(), " " + QString::fromStdString(FormatGeneral(windows[3].Deviation)));
    for (QLineSeries* series : {progress().Series1, progress().Series2, progress().Series3})
        ASSERT_EQ(series->count(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(progress().Series1->at(k), QPointF(250 * (k + 1), windows[k].WindowMax));
        EXPECT_EQ(progress().Series2->at(k), QPointF(250 * (k + 1), windows[k].Average));
        EXPECT_EQ(progress().Series3->at(k), QPointF(250 * (k + 1), windows[k].Deviation));
    }
    ASSERT_EQ(progress().OutList->count(), 1);
    EXPECT_EQ(progress().OutList->item(0)->text(), " Output 1");
    QLineSeries* output = progress().OutputSeries(0);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->name(), QString::fromStdString(windows[3].Titles[0]).replace(' ', QChar(0xA0)));
    ASSERT_EQ(output->count(), 4);
    EXPECT_EQ(output->at(3), QPointF(4, windows[3].Percents[3]));

    // Saved and opened again, the network has the trained weights and ranges.
    ASSERT_TRUE(form->WriteNetFile(path("trained.crv")));
    const std::vector<double> trained = allWeights(*form->Net);
    form->ReadNetFile(path("trained.crv"));
    EXPECT_EQ(allWeights(*form->Net), trained);
    EXPECT_EQ(form->Net->InputRanges[1].Max, 1);

    // Close hides the window.
    progress().Button1->click();
    EXPECT_FALSE(progress().isVisible());
}

TEST_F(TrainingCommand, RunsOnTheEditorsDataWithMomentumAndKeepsTheDialogsValues)
{
    xorNetwork();
    form->DataForm->InputMatrix().Assign(matrixOf(kXorInputs));
    form->DataForm->OutputMatrix().Assign(matrixOf(kXorTargets));
    {
        Setup s;
        s.editor = true;
        s.fast = true;
        s.speed = "0.05";
        s.momentum = "0.25";
        s.iterations = "300";
        s.buffer = 50;
        train(s);
    }

    EXPECT_TRUE(script.messages.empty());
    expectCleanedUp();
    EXPECT_EQ(form->TrainAlgorithm, 2);
    EXPECT_EQ(form->Net->LearningRate, 0.05);
    EXPECT_EQ(form->Net->Momentum, 0.25);
    EXPECT_EQ(progress().windowTitle(), " Training - Fast Back Propagation");
    EXPECT_EQ(progress().Edit1->text(), " 300");
    EXPECT_EQ(progress().Series2->count(), 6);

    // Everything but the file name is kept for the next run.
    answerDialog<TOKBottomDlg4>([](TOKBottomDlg4& dlg) {
        EXPECT_TRUE(dlg.DataSrc->isChecked());
        EXPECT_EQ(dlg.PageControl1->currentWidget(), dlg.TabSheet2);
        EXPECT_EQ(dlg.Edit2->text(), "0.05");
        EXPECT_EQ(dlg.Edit4->text(), "0.25");
        EXPECT_EQ(dlg.Edit5->text(), "300");
        EXPECT_EQ(dlg.BufEdit->value(), 50);
        EXPECT_TRUE(dlg.OKBtn->isEnabled());
        return false;
    });
    form->LearningProcess1->trigger();
    EXPECT_FALSE(progress().isVisible()) << "hidden again by the next command";
}

TEST_F(TrainingCommand, StopsAtTheEndOfTheEpochOfAButtonOrDiagramClick)
{
    const std::pair<const char*, std::function<void(TForm1&)>> stops[] = {
        {"the progress window's button", [](TForm1& f) { f.Form7->Button1->click(); }},
        {"a click on the diagram", [](TForm1& f) { emit f.PaintBox1->clicked(); }},
    };
    for (const auto& [what, stop] : stops) {
        SCOPED_TRACE(what);
        xorNetwork();
        form->show();
        bool checked = false;
        QTimer::singleShot(0, form.get(), [&, stop = stop] {
            // During the run every command is refused and the toolbar stays off.
            EXPECT_TRUE(form->Training);
            EXPECT_FALSE(form->ToolBar1->isEnabled());
            EXPECT_EQ(progress().Button1->text(), "Stop");
            const TNeuroNet* net = form->Net.get();
            for (QAction* a : {form->NewNet1, form->LoadNet1, form->AddLayer1, form->LearningData1,
                               form->LearningProcess1, form->EvaluateOutput1, form->Exit1})
                a->trigger();
            form->Tool1->trigger();
            form->Tool1->trigger();
            EXPECT_FALSE(form->ToolBar1->isEnabled()) << "showing the toolbar again leaves it off";
            EXPECT_EQ(form->Net.get(), net);
            stop(*form);
            EXPECT_EQ(progress().StopState, 1);
            checked = true;
        });
        {
            Setup s;
            s.file = dataset("xor.nld", kXorInputs, kXorTargets);
            s.iterations = "1000000";
            train(s);
        }
        EXPECT_TRUE(checked);
        EXPECT_TRUE(script.messages.empty());
        EXPECT_EQ(progress().StopState, 1);
        EXPECT_EQ(progress().OutcomeLabel->text(), "Stopped");
        EXPECT_EQ(progress().Button1->text(), "Close");
        EXPECT_LT(progress().Edit1->text().trimmed().toInt(), 1000000);
        expectCleanedUp();
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(TrainingCommand, AStopInsideALongEpochTakesEffectAtItsEnd)
{
    // 4-100-1 over 100 patterns: events are processed between patterns.
    newNetwork(4);
    addLayer(100, 2);
    addLayer(1, 0);
    TNeuroNet twin = copyOf(*form->Net);
    Rows inputs, targets;
    for (int p = 0; p < 100; ++p) {
        inputs.push_back({p * 0.1, std::sin(p), 1.0 / (p + 1), double(p % 3)});
        targets.push_back({std::cos(p * 0.2)});
    }
    const QString file = dataset("long.nld", inputs, targets);
    bool midEpoch = false;
    QTimer::singleShot(0, form.get(), [&] {
        // Errors of the first patterns are in, the last pattern's not yet.
        midEpoch = form->TrainErrors.GetItem(0, 0) != 0 && form->TrainErrors.GetItem(0, 99) == 0;
        progress().Button1->click();
    });
    Setup s;
    s.file = file;
    s.iterations = "1000000";
    train(s);
    EXPECT_TRUE(midEpoch);
    EXPECT_EQ(progress().StopState, 1);
    EXPECT_EQ(progress().Edit1->text(), " 1");

    twin.LearningRate = 0.01;
    TDatasetRows rows;
    ASSERT_TRUE(LoadTrainingSet(file.toStdString(), twin, rows));
    SetRangesFromData(twin, rows);
    TMatrix errors(1, 100);
    double epochMax = 0;
    ASSERT_TRUE(TrainEpoch(twin, rows, 1, errors, epochMax));
    FreeTrainingSet(twin, rows);
    EXPECT_EQ(allWeights(*form->Net), allWeights(twin)) << "the whole epoch ran and was applied";
}

TEST_F(TrainingCommand, ClosingTheMainWindowDuringARunStopsItAndThenCloses)
{
    xorNetwork();
    form->show();
    QTimer::singleShot(0, form.get(), [&] { form->close(); });
    {
        Setup s;
        s.file = dataset("xor.nld", kXorInputs, kXorTargets);
        s.iterations = "1000000";
        train(s);
    }
    EXPECT_EQ(progress().StopState, 1);
    expectCleanedUp();
    QTRY_VERIFY(!form->isVisible());
}

TEST_F(TrainingCommand, ACancelRunsNothingAndForgetsTheFile)
{
    xorNetwork();
    const std::vector<double> weights = allWeights(*form->Net);
    {
        Setup s;
        s.file = dataset("xor.nld", kXorInputs, kXorTargets);
        s.start = false;
        train(s);
    }
    expectCleanedUp();
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(allWeights(*form->Net), weights);
    EXPECT_TRUE(form->Net->InputRanges.empty() || !form->Net->InputRanges[0].active());

    // The next showing needs the file chosen again.
    answerDialog<TOKBottomDlg4>([](TOKBottomDlg4& dlg) {
        EXPECT_FALSE(dlg.OKBtn->isEnabled());
        return false;
    });
    form->LearningProcess1->trigger();
}

TEST_F(TrainingCommand, ErrorsAfterTheStartEndTheRunAndCleanUp)
{
    struct Case {
        const char* what;
        std::function<void(TOKBottomDlg4&)> before;
        std::function<void(TForm1&)> network;
        QString error;  // empty: a file error naming the dataset
    };
    const Case cases[] = {
        {"iterations", [](TOKBottomDlg4& d) { d.Edit5->setText("1e3"); }, {}, "'1e3' is not a valid integer value"},
        {"acceptable error", [](TOKBottomDlg4& d) { d.Edit6->setText("1,5"); }, {}, "'1,5' is not a valid floating point value"},
        {"training speed", [](TOKBottomDlg4& d) { d.Edit1->setText("fast"); }, {}, "'fast' is not a valid floating point value"},
        {"a file cut short after it was chosen",
         [](TOKBottomDlg4& d) {
             QFile file(d.Edit3->text());
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.resize(file.size() - 8);
         },
         {}, ""},
        {"an exponential beyond the extended range",
         {},
         [](TForm1& f) {
             f.Net->Layer(1).Params.Activation = 1;
             f.Net->Layer(1).Weight(0, 0) = -2e4;
             f.Net->Layer(1).Weight(0, 1) = 0;
         },
         "Floating point overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        script.messages.clear();
        newNetwork(2);
        addLayer(1, 0);
        if (c.network)
            c.network(*form);
        const QString file = dataset("xor.nld", kXorInputs, kXorTargets);
        {
            Setup s;
            s.file = file;
            s.before = c.before;
            train(s);
        }
        ASSERT_EQ(script.errors().size(), 1u);
        if (c.error.isEmpty())
            EXPECT_TRUE(script.errors()[0].contains(file)) << script.errors()[0].toStdString();
        else
            EXPECT_EQ(script.errors()[0], c.error);
        expectCleanedUp();
        EXPECT_TRUE(progress().isVisible());
        EXPECT_EQ(progress().Button1->text(), "Close");
    }
}

TEST_F(TrainingCommand, AnOverflowWarnsAndKeepsTheWeights)
{
    newNetwork(1);
    addLayer(1, 0);
    form->Net->Layer(1).Weight(0, 0) = 1e60;
    const std::vector<double> weights = allWeights(*form->Net);
    {
        Setup s;
        s.file = dataset("line.nld", {{0}, {1}}, {{0}, {1}});
        train(s);
    }
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].kind, ScriptedPrompts::Kind::Warning);
    EXPECT_EQ(script.messages[0].text, "Overflow while evaluating the outputs!");
    EXPECT_EQ(progress().StopState, 4);
    EXPECT_EQ(progress().Edit1->text(), " 1");
    EXPECT_EQ(progress().Edit2->text(), " 0");
    EXPECT_TRUE(progress().OutcomeLabel->text().startsWith("Unstable"));
    EXPECT_EQ(allWeights(*form->Net), weights);
    expectCleanedUp();
}

TEST_F(TrainingCommand, AFileGoneBeforeTheStartRunsNoEpochAndSaysNothing)
{
    newNetwork(1);
    addLayer(1, 0);
    const QString file = dataset("gone.nld", {{0}, {1}}, {{0}, {1}});
    {
        Setup s;
        s.file = file;
        s.before = [file](TOKBottomDlg4&) { QFile::remove(file); };
        train(s);
    }
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(progress().StopState, 0);
    EXPECT_EQ(progress().Edit1->text(), " 0");
    EXPECT_EQ(progress().Edit2->text(), " 0");
    EXPECT_EQ(progress().Button1->text(), "Close");
    EXPECT_TRUE(progress().OutcomeLabel->text().startsWith("No epoch ran"));
    expectCleanedUp();
}

}  // namespace
