#include <cmath>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "data/NumberText.h"
#include "analysis/OutputChartsDialog.h"
#include "analysis/ProfilerDialog.h"
#include "analysis/uGrapher.h"
#include "data/uData.h"
#include "training/ProgressWindow.h"
#include "training/TrainingSetupDialog.h"
#include "workbench/AboutBox.h"
#include "workbench/AddLayerDialog.h"
#include "workbench/InputVectorDialog.h"
#include "workbench/LayerDialog.h"
#include "workbench/NetworkDiagram.h"
#include "workbench/OutputsDialog.h"
#include "workbench/Unit1Fixture.h"

namespace {

using Shell = Unit1Fixture;

QStringList actionTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

const QMenu* menuNamed(const TForm1& form, const QString& title)
{
    for (const QAction* a : form.menuBar()->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

TEST_F(Shell, StartsWithAOneInputNetworkAndTheFixedLayout)
{
    EXPECT_EQ(form->objectName(), "Form1");
    EXPECT_EQ(form->windowTitle(), " Corvalith");
    EXPECT_EQ(form->FileName, "Untitled");
    EXPECT_FALSE(form->Training);
    EXPECT_EQ(form->TrainAlgorithm, 0);
    EXPECT_EQ(form->Net->InputCount(), 1);
    EXPECT_EQ(form->Net->LayerCount(), 0);
    EXPECT_FALSE(form->N3->isEnabled());
    EXPECT_EQ(form->size(), QSize(914, 601));

    EXPECT_EQ(form->ScrollBox1->viewport()->palette().color(QPalette::Window), QColor(127, 127, 127));
    EXPECT_EQ(form->PaintBox1->objectName(), "PaintBox1");
    EXPECT_EQ(form->PaintBox1->pos(), QPoint(8, 8));
    EXPECT_EQ(form->PaintBox1->LastBox, 1) << "the start-up network is drawn: inputs and outputs";

    // The dialogs come after the window, in the start-up order, and live with it.
    QList<QDialog*> dialogs = form->findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    const QList<QDialog*> startUpOrder = {form->OKBottomDlg, form->OKBottomDlg1, form->OKBottomDlg2,
                                          form->OKBottomDlg3, form->OKBottomDlg4, form->Form7,
                                          form->AboutBox, form->GrapherForm, form->OKBottomDlg7,
                                          form->OKBottomDlg8, form->DataForm};
    EXPECT_EQ(dialogs, startUpOrder);

    const int widths[] = {128, 192, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = form->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->width(), widths[i]);
        EXPECT_TRUE(panel->text().isEmpty());
    }
}

TEST_F(Shell, MenusHoldTheCommandsInOrderWithTheirShortcuts)
{
    EXPECT_EQ(actionTexts(menuNamed(*form, "&File")),
              QStringList({"&New", "&Open ...", "&Save ... ", "Save &as ...", "Export as &C ...", "-", "&Exit"}));
    EXPECT_EQ(actionTexts(menuNamed(*form, "&Edit")),
              QStringList({"&Add layer ...", "-", "&Layer parameters ...", "&Input vector ...", "-",
                           "&View", "-", "&Training data ..."}));
    EXPECT_EQ(actionTexts(form->View1), QStringList({"&Toolbar", "&Status", "&Labels", "&Compact"}));
    EXPECT_EQ(actionTexts(menuNamed(*form, "&Run")),
              QStringList({"&Evaluate network", "-", "&Graphs ...", "&Profiler ...", "&Charts ...", "-",
                           "&Network training ..."}));
    EXPECT_EQ(actionTexts(menuNamed(*form, "&Help")), QStringList({"&About ..."}));

    struct Shortcut {
        const char* action;
        QKeySequence keys;
    };
    for (const Shortcut& s : {Shortcut{"NewNet1", QKeySequence("Ctrl+N")}, Shortcut{"LoadNet1", QKeySequence("Ctrl+L")},
                              Shortcut{"SaveNet1", QKeySequence("Ctrl+S")}, Shortcut{"Exit1", QKeySequence("F10")},
                              Shortcut{"AddLayer1", QKeySequence("F5")}, Shortcut{"EvaluateOutput1", QKeySequence("F9")},
                              Shortcut{"SaveNetAs1", QKeySequence()}, Shortcut{"N3", QKeySequence()}}) {
        auto* action = form->findChild<QAction*>(s.action);
        ASSERT_NE(action, nullptr) << s.action;
        EXPECT_EQ(action->shortcut(), s.keys) << s.action;
    }
    for (const char* name : {"InputVector1", "LearningData1", "Grapher1", "SpeedProfiler1", "OutputChart1",
                             "LearningProcess1", "About1", "Tool1", "Statusbar2", "NumberLabels1", "Compact1"}) {
        auto* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    EXPECT_TRUE(form->Tool1->isChecked());
    EXPECT_TRUE(form->Statusbar2->isChecked());
    EXPECT_TRUE(form->NumberLabels1->isChecked());
    EXPECT_FALSE(form->Compact1->isChecked());
}

TEST_F(Shell, ToolbarButtonsInOrderWithTheirHints)
{
    struct Button {
        const char* name;
        const char* hint;
    };
    const Button expected[] = {
        {"ToolButton1", " Create new network "},   {"ToolButton2", " Add layer of neurons (F5)"},
        {"-", nullptr},                            {"ToolButton4", " Load network from file "},
        {"ToolButton5", " Save network to file "}, {"ToolButton10", " Reload network from file "},
        {"-", nullptr},                            {"ToolButton7", " Evaluate network (F9) "},
        {"-", nullptr},                            {"ToolButton14", " Randomize network "},
        {"ToolButton9", " Network training "},     {"-", nullptr},
        {"ToolButton12", " Plotting graphs "},     {"-", nullptr},
    };
    QList<QAction*> actions = form->ToolBar1->actions();
    ASSERT_EQ(actions.size(), int(std::size(expected)));
    for (int i = 0; i < actions.size(); ++i) {
        if (QString(expected[i].name) == "-") {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
            continue;
        }
        QWidget* widget = form->ToolBar1->widgetForAction(actions[i]);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), expected[i].name);
        EXPECT_EQ(widget->toolTip(), expected[i].hint) << expected[i].name;
        EXPECT_FALSE(actions[i]->icon().isNull()) << expected[i].name;
    }
}

TEST_F(Shell, NewNetworkAsksForTheInputCountAndStartsOver)
{
    addLayer(2, 0);
    ASSERT_TRUE(form->N3->isEnabled());

    newNetwork(3);
    ASSERT_EQ(script.queriesShown.size(), 1u);
    EXPECT_EQ(script.queriesShown[0].caption, " Nerual Network");
    EXPECT_EQ(script.queriesShown[0].prompt, "Number of inputs");
    EXPECT_EQ(script.queriesShown[0].defaultText, "1");
    EXPECT_EQ(form->Net->InputCount(), 3);
    EXPECT_EQ(form->Net->LayerCount(), 0);
    EXPECT_FALSE(form->N3->isEnabled());
    EXPECT_EQ(form->windowTitle(), " Corvalith");
    EXPECT_EQ(form->FileName, "Untitled");

    newNetwork(0);
    EXPECT_EQ(script.queriesShown[1].defaultText, "3");
    EXPECT_EQ(form->Net->InputCount(), 1) << "the network brings the count into range";
}

TEST_F(Shell, NewNetworkWithBadTextOrCancelKeepsTheNetwork)
{
    newNetwork(3);
    const TNeuroNet* before = form->Net.get();

    script.answerQuery(QStringLiteral("three"));
    form->NewNet1->trigger();
    script.answerQuery(std::nullopt);
    form->NewNet1->trigger();

    EXPECT_EQ(form->Net.get(), before);
    EXPECT_EQ(script.errors(), std::vector<QString>{"'three' is not a valid integer value"});
}

TEST_F(Shell, AddLayerBuildsTheLayerFromTheDialog)
{
    newNetwork(3);
    answerDialog<TOKBottomDlg>([](TOKBottomDlg& dlg) {
        dlg.SpinEdit1->setValue(4);
        dlg.ComboBox1->setCurrentIndex(2);
        dlg.RadioGroup1->setItemIndex(0);
        dlg.Edit1->setText("0.5");
        dlg.Edit2->setText("0.25");
        dlg.RadioGroup2->setItemIndex(1);
        return true;
    });
    form->AddLayer1->trigger();

    ASSERT_EQ(form->Net->LayerCount(), 1);
    const TLayer& layer = form->Net->Layer(1);
    EXPECT_EQ(layer.NeuronCount(), 4);
    EXPECT_EQ(layer.InputCount(), 3);
    EXPECT_EQ(layer.Params.Activation, 2);
    EXPECT_EQ(layer.Params.WeightInit, 0);
    EXPECT_EQ(layer.Params.BiasInit, 1);
    EXPECT_EQ(layer.Params.WeightFrom, 0.5);
    EXPECT_EQ(layer.Params.WeightTo, 0.25);
    for (double w : layer.Weights) {
        EXPECT_GT(w, 0.25);
        EXPECT_LE(w, 0.5);
    }
    for (double b : layer.Bias)
        EXPECT_EQ(b, 0);
    EXPECT_TRUE(form->N3->isEnabled());
    EXPECT_EQ(form->PaintBox1->LastBox, 2);

    addLayer(2, 1);
    EXPECT_EQ(form->Net->Layer(2).InputCount(), 4);
    EXPECT_EQ(form->Net->OutputCount(), 2);
}

TEST_F(Shell, AddLayerReportsTheFirstBadRangeTextEvenInADisabledGroup)
{
    struct Case {
        QString edit1, edit3, edit4, error;
    };
    const Case cases[] = {
        {"1,5", "z", "-1", "'1,5' is not a valid floating point value"},
        {"-1", "z", "y", "'z' is not a valid floating point value"},
        {"-1", "-1", "1e400", "Floating point overflow"},
    };
    for (const Case& c : cases) {
        answerDialog<TOKBottomDlg>([&](TOKBottomDlg& dlg) {
            dlg.RadioGroup2->setItemIndex(1);  // bias zeros: Edit3 and Edit4 are disabled
            dlg.Edit1->setText(c.edit1);
            dlg.Edit3->setText(c.edit3);
            dlg.Edit4->setText(c.edit4);
            return true;
        });
        form->AddLayer1->trigger();
        ASSERT_FALSE(script.errors().empty());
        EXPECT_EQ(script.errors().back(), c.error);
        EXPECT_EQ(form->Net->LayerCount(), 0);
        EXPECT_FALSE(form->N3->isEnabled());
    }
}

TEST_F(Shell, AddLayerCancelledAddsNothing)
{
    answerDialog<TOKBottomDlg>([](TOKBottomDlg&) { return false; });
    form->AddLayer1->trigger();
    EXPECT_EQ(form->Net->LayerCount(), 0);
    EXPECT_FALSE(form->N3->isEnabled());
}

TEST_F(Shell, LayerDialogShowsTheLayerAndOkCutsWeightsToFiveDigits)
{
    newNetwork(3);
    addLayer(2, 1);
    const TLayer& layer = form->Net->Layer(1);
    std::vector<double> weights = layer.Weights, biases = layer.Bias;
    for (double& b : biases)
        b = 0.123456789;
    form->Net->Layer(1).Bias = biases;
    form->Net->Evaluate();

    script.answerQuery(QStringLiteral("1"));
    answerDialog<TOKBottomDlg2>([&](TOKBottomDlg2& dlg) {
        EXPECT_EQ(dlg.windowTitle(), " Layer 1");
        EXPECT_EQ(dlg.SpinEdit1->value(), 2);
        EXPECT_EQ(dlg.ComboBox1->currentIndex(), 1);
        EXPECT_EQ(dlg.StringGrid1->columnCount(), 4);
        EXPECT_EQ(dlg.StringGrid1->rowCount(), 3);
        EXPECT_EQ(dlg.StringGrid2->rowCount(), 2);
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, 0), "");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 3, 0), "3");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, 2), "2");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 2, 1), QString::fromStdString(FormatShortScientific(weights[1])));
        EXPECT_EQ(cellText(*dlg.StringGrid2, 0, 1), "2");
        EXPECT_EQ(cellText(*dlg.StringGrid2, 1, 1), "1.2346E-001");
        return true;
    });
    form->N3->trigger();
    EXPECT_EQ(script.queriesShown.back().caption, " Layer editing");
    EXPECT_EQ(script.queriesShown.back().prompt, "Input layer number");
    EXPECT_EQ(script.queriesShown.back().defaultText, "1");

    for (std::size_t i = 0; i < weights.size(); ++i) {
        double cut = double(ParseFloat(FormatShortScientific(weights[i])));
        EXPECT_EQ(layer.Weights[i], cut);
        EXPECT_NEAR(layer.Weights[i], weights[i], 5e-5);
    }
    EXPECT_EQ(layer.Bias[0], 0.12346);
    EXPECT_FALSE(form->Net->Evaluated);
}

TEST_F(Shell, EnlargingALayerGivesNewNeuronsZerosAndRebuildsTheNextLayer)
{
    newNetwork(2);
    addLayer(1, 0);
    addLayer(1, 0, /*zeros=*/true);
    double firstWeight = form->Net->Layer(1).Weight(0, 0);

    script.answerQuery(QStringLiteral("1"));
    answerDialog<TOKBottomDlg2>([](TOKBottomDlg2& dlg) {
        dlg.SpinEdit1->setValue(3);
        EXPECT_EQ(cellText(*dlg.StringGrid1, 1, 3), "0");
        EXPECT_EQ(cellText(*dlg.StringGrid2, 1, 2), "0");
        return true;
    });
    form->N3->trigger();

    const TLayer& layer = form->Net->Layer(1);
    ASSERT_EQ(layer.NeuronCount(), 3);
    EXPECT_EQ(layer.Weight(0, 0), double(ParseFloat(FormatShortScientific(firstWeight))))
        << "the typed cells win over the new initial values";
    for (int n = 1; n < 3; ++n) {
        EXPECT_EQ(layer.Bias[n], 0);
        EXPECT_EQ(layer.Weight(n, 0), 0);
        EXPECT_EQ(layer.Weight(n, 1), 0);
    }
    EXPECT_EQ(form->Net->Layer(2).InputCount(), 3);
    EXPECT_EQ(form->PaintBox1->layout().Items[1].Caption, "Layer 1 (3)");
}

TEST_F(Shell, ABadCellEndsTheLayerTransferWithTheCellsBeforeItStored)
{
    newNetwork(2);
    addLayer(2, 0);
    form->Net->Evaluate();
    const TLayer& layer = form->Net->Layer(1);
    std::vector<double> weights = layer.Weights, biases = layer.Bias;

    editLayer(1, {{1, 1, "0.5"}, {2, 1, "abc"}, {1, 2, "0.75"}}, {{1, 0, "0.25"}, {1, 1, "0.125"}});

    EXPECT_EQ(script.errors(), std::vector<QString>{"'abc' is not a valid floating point value"});
    EXPECT_EQ(layer.Bias[0], 0.25);
    EXPECT_EQ(layer.Weight(0, 0), 0.5);
    // Neuron 2 comes after the bad cell: nothing of it is read.
    EXPECT_EQ(layer.Bias[1], biases[1]);
    EXPECT_EQ(layer.Weight(1, 0), weights[2]);
    EXPECT_EQ(layer.Weight(1, 1), weights[3]);
    EXPECT_FALSE(form->Net->Evaluated) << "the stored outputs belong to the old weights";
}

TEST_F(Shell, LayerNumberOutOfRangeIsIgnoredAndBadTextReported)
{
    addLayer(1, 0);
    script.answerQuery(QStringLiteral("2"));
    form->N3->trigger();
    script.answerQuery(QStringLiteral("0"));
    form->N3->trigger();
    script.answerQuery(QStringLiteral("x1"));
    form->N3->trigger();
    EXPECT_EQ(script.dialogsShown.size(), 1u) << "only the add-layer dialog";
    EXPECT_EQ(script.errors(), std::vector<QString>{"'x1' is not a valid integer value"});
}

TEST_F(Shell, TypedInputVectorIsEvaluatedAtOnceAndShownAsOutputs)
{
    newNetwork(2);
    addLayer(1, 0);
    editLayer(1, {{1, 1, "3"}, {2, 1, "-2"}}, {{1, 0, "1"}});

    answerDialog<TOKBottomDlg1>([](TOKBottomDlg1& dlg) {
        EXPECT_EQ(dlg.SpinEdit1->value(), 2);
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, 1), " 2");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 1, 1), "0");
        setCellText(*dlg.StringGrid1, 1, 0, "2");
        setCellText(*dlg.StringGrid1, 1, 1, "0.00005");
        return true;
    });
    form->InputVector1->trigger();

    EXPECT_EQ(form->Net->Inputs, (std::vector<double>{2, 0.00005}));
    EXPECT_TRUE(form->Net->Evaluated);
    EXPECT_DOUBLE_EQ(form->Net->Outputs[0], 3 * 2 - 2 * 0.00005 + 1);

    answerDialog<TOKBottomDlg1>([](TOKBottomDlg1& dlg) {
        EXPECT_EQ(cellText(*dlg.StringGrid1, 1, 1), "5E-5") << "inputs in the general format";
        return true;
    });
    form->InputVector1->trigger();

    // The outputs dialog, reached by a click on the outputs box.
    form->show();
    const DiagramRect& box = form->PaintBox1->Boxes[form->PaintBox1->LastBox];
    QPoint centre((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
    answerDialog<TOKBottomDlg3>([](TOKBottomDlg3& dlg) {
        EXPECT_EQ(dlg.StringGrid1->rowCount(), 1);
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, 0), " 1");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 1, 0), "6.9999");
        return true;
    });
    QTest::mouseMove(form->PaintBox1, centre);
    form->PaintBox1->PaintBox1MouseMove(centre.x(), centre.y());
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, centre);
}

TEST_F(Shell, InputVectorResizeAndBadValue)
{
    newNetwork(1);
    addLayer(2, 0);
    form->Net->Evaluate();

    answerDialog<TOKBottomDlg1>([](TOKBottomDlg1& dlg) {
        dlg.SpinEdit1->setValue(3);
        EXPECT_EQ(cellText(*dlg.StringGrid1, 0, 2), " 3");
        EXPECT_EQ(cellText(*dlg.StringGrid1, 1, 2), "0");
        setCellText(*dlg.StringGrid1, 1, 0, "7");
        setCellText(*dlg.StringGrid1, 1, 1, "seven");
        return true;
    });
    form->InputVector1->trigger();

    EXPECT_EQ(script.errors(), std::vector<QString>{"'seven' is not a valid floating point value"});
    EXPECT_EQ(form->Net->InputCount(), 3);
    EXPECT_EQ(form->Net->Layer(1).InputCount(), 3);
    EXPECT_EQ(form->Net->Inputs, (std::vector<double>{7, 0, 0}));
    EXPECT_FALSE(form->Net->Evaluated);
}

TEST_F(Shell, DiagramClicksOpenTheDialogOfTheBoxHit)
{
    newNetwork(2);
    addLayer(3, 0);
    NetworkDiagram& diagram = *form->PaintBox1;
    auto clickBox = [&](int j) {
        const DiagramRect& b = diagram.Boxes[j];
        diagram.PaintBox1MouseMove(b.Left + 1, b.Top + 1);
        emit diagram.clicked();
    };

    answerDialog<TOKBottomDlg1>([](TOKBottomDlg1&) { return false; });
    clickBox(0);
    answerDialog<TOKBottomDlg2>([](TOKBottomDlg2& dlg) {
        EXPECT_EQ(dlg.windowTitle(), " Layer 1");
        return false;
    });
    clickBox(1);
    answerDialog<TOKBottomDlg3>([](TOKBottomDlg3&) { return true; });
    clickBox(2);
    EXPECT_TRUE(form->Net->Evaluated) << "the outputs dialog evaluates";

    // On the outline itself: nothing.
    diagram.PaintBox1MouseMove(diagram.Boxes[1].Left, diagram.Boxes[1].Top + 5);
    emit diagram.clicked();
    EXPECT_EQ(script.dialogsShown.size(), 4u);
}

TEST_F(Shell, EvaluateAndOverflowReportedByTheWrapper)
{
    newNetwork(1);
    addLayer(1, 0);
    EXPECT_FALSE(form->Net->Evaluated);
    form->EvaluateOutput1->trigger();
    EXPECT_TRUE(form->Net->Evaluated);

    // The guard trips silently: no message, still not evaluated.
    editLayer(1, {{1, 1, "1"}}, {{1, 0, "1e60"}});
    form->EvaluateOutput1->trigger();
    EXPECT_FALSE(form->Net->Evaluated);
    EXPECT_TRUE(script.errors().empty());

    // The logistic function's exponential overflows: the error box reports it.
    editLayer(1, {{1, 1, "-1e4"}}, {{1, 0, "0"}});
    form->Net->Inputs[0] = 2;
    form->Net->Layer(1).Params.Activation = 1;
    form->EvaluateOutput1->trigger();
    EXPECT_EQ(script.errors(), std::vector<QString>{"Floating point overflow"});
}

TEST_F(Shell, RandomizeAsksFirstAndNoKeepsTheWeights)
{
    addLayer(3, 0);
    form->Net->Evaluate();
    std::vector<double> weights = form->Net->Layer(1).Weights;

    script.answerConfirm(false);
    form->ToolButton14->click();
    EXPECT_EQ(script.messages.back().text, "Are you sure you want to randomize the network?");
    EXPECT_EQ(form->Net->Layer(1).Weights, weights);
    EXPECT_TRUE(form->Net->Evaluated);

    platform::SetSeedClock([] { return 7u; });
    script.answerConfirm(true);
    form->ToolButton14->click();
    EXPECT_NE(form->Net->Layer(1).Weights, weights);
    EXPECT_FALSE(form->Net->Evaluated);
}

TEST_F(Shell, AboutBoxIsShownModally)
{
    answerDialog<TAboutBox>([](TAboutBox&) { return false; });
    form->About1->trigger();
    ASSERT_EQ(script.dialogsShown.size(), 1u);
    EXPECT_EQ(script.dialogsShown[0], form->AboutBox);
}

TEST_F(Shell, ViewOptions)
{
    form->show();
    form->Compact1->trigger();
    EXPECT_TRUE(form->Compact1->isChecked());
    EXPECT_FALSE(form->NumberLabels1->isChecked());
    EXPECT_FALSE(form->NumberLabels1->isEnabled());
    EXPECT_TRUE(form->PaintBox1->compact());
    EXPECT_FALSE(form->PaintBox1->labels());

    form->Compact1->trigger();
    EXPECT_FALSE(form->Compact1->isChecked());
    EXPECT_FALSE(form->NumberLabels1->isChecked());
    EXPECT_TRUE(form->NumberLabels1->isEnabled());
    EXPECT_FALSE(form->PaintBox1->compact());

    form->NumberLabels1->trigger();
    EXPECT_TRUE(form->NumberLabels1->isChecked());
    EXPECT_TRUE(form->PaintBox1->labels());

    form->Tool1->trigger();
    EXPECT_FALSE(form->Tool1->isChecked());
    EXPECT_FALSE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->ToolBar1->isEnabled());
    form->Tool1->trigger();
    EXPECT_TRUE(form->ToolBar1->isVisible());
    EXPECT_TRUE(form->ToolBar1->isEnabled());

    form->Statusbar2->trigger();
    EXPECT_FALSE(form->StatusBar1->isVisible());
    EXPECT_FALSE(form->StatusBar1->isEnabled());
    form->Statusbar2->trigger();
    EXPECT_TRUE(form->StatusBar1->isVisible());
}

TEST_F(Shell, TrainingRefusesEveryCommandButTheViewOptions)
{
    addLayer(1, 0);
    form->show();
    form->Training = true;
    const TNeuroNet* net = form->Net.get();

    // Nothing is scripted: any box, query or dialog would fail the test.
    for (QAction* a : {form->NewNet1, form->LoadNet1, form->SaveNet1, form->SaveNetAs1, form->Exit1,
                       form->AddLayer1, form->N3, form->InputVector1, form->LearningData1,
                       form->EvaluateOutput1, form->Grapher1, form->SpeedProfiler1, form->OutputChart1,
                       form->LearningProcess1, form->About1})
        a->trigger();
    form->ToolButton10->click();
    form->ReadNetFile(path("none.crv"));

    EXPECT_EQ(form->Net.get(), net);
    EXPECT_FALSE(form->Net->Evaluated);
    EXPECT_TRUE(form->isVisible()) << "Exit is refused";
    EXPECT_TRUE(script.messages.empty());

    // A click anywhere on the diagram asks the run to stop, and nothing else.
    form->PaintBox1->PaintBox1MouseMove(form->PaintBox1->Boxes[0].Left + 2, form->PaintBox1->Boxes[0].Top + 2);
    emit form->PaintBox1->clicked();
    EXPECT_EQ(form->Form7->StopState, 1);

    form->Compact1->trigger();
    EXPECT_TRUE(form->PaintBox1->compact());
}

TEST_F(Shell, ShortcutsReachTheirCommands)
{
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    script.answerQuery(QStringLiteral("2"));
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->Net->InputCount(), 2);

    answerDialog<TOKBottomDlg>([](TOKBottomDlg&) { return true; });
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(form->Net->LayerCount(), 1);

    QTest::keyClick(form.get(), Qt::Key_F9);
    EXPECT_TRUE(form->Net->Evaluated);

    script.answerFile(QString());
    QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
    script.answerFile(QString());
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(script.filesShown.size(), 2u);
    EXPECT_EQ(script.filesShown[0].filter, "Corvalith File (*.crv);;All Files (*)");
    EXPECT_EQ(script.filesShown[1].filter, "Corvalith File (*.crv)");

    QTest::keyClick(form.get(), Qt::Key_F10);
    EXPECT_FALSE(form->isVisible());
}

}  // namespace

TEST_F(Shell, TrainingDataCommandShowsTheEditorWithItsDataset)
{
    form->DataForm->InputMatrix().SetItem(0, 0, 4);
    script.answerDialog([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, form->DataForm);
        auto& editor = static_cast<TDataForm&>(dialog);
        EXPECT_EQ(editor.InputMatrix().GetItem(0, 0), 4.0L) << "the data live between showings";
        return false;
    });
    form->LearningData1->trigger();
    EXPECT_EQ(script.dialogsShown.size(), 1u);
}
