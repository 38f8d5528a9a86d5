#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>

#include "analysis/OutputChartsDialog.h"
#include "workbench/Unit1Fixture.h"

namespace {

using OutputCharts = Unit1Fixture;

TEST_F(OutputCharts, ANetworkWithoutLayersShowsItsInputsAsRedBarsInOrder)
{
    newNetwork(3);
    typeInputs({"1.5", "-2", "0.25"});
    for (int showing = 0; showing < 2; ++showing) {
        answerDialog<TOKBottomDlg8>([](TOKBottomDlg8& dlg) {
            EXPECT_EQ(dlg.windowTitle(), " Output charts");
            return true;
        });
        form->OutputChart1->trigger();
        TOKBottomDlg8& dlg = *form->OKBottomDlg8;
        ASSERT_EQ(dlg.Series1->count(), 1) << "emptied before each filling";
        QBarSet* bars = dlg.Series1->barSets().front();
        ASSERT_EQ(bars->count(), 3);
        EXPECT_EQ((QList<qreal>{bars->at(0), bars->at(1), bars->at(2)}), (QList<qreal>{1.5, -2, 0.25}));
        EXPECT_EQ(bars->color(), QColor(255, 0, 0));
        auto* x = qobject_cast<QBarCategoryAxis*>(dlg.Chart1->chart()->axes(Qt::Horizontal).value(0));
        ASSERT_NE(x, nullptr);
        EXPECT_EQ(x->categories(), (QStringList{"1", "2", "3"}));
    }
    EXPECT_TRUE(form->Net->Evaluated);
}

TEST_F(OutputCharts, AOneOutputNetworkGetsTheWarningAndNoChart)
{
    form->OutputChart1->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].kind, ScriptedPrompts::Kind::Warning);
    EXPECT_EQ(script.messages[0].text, "This could be run only for multiple outputs networks");
    EXPECT_TRUE(script.dialogsShown.empty());
}

}  // namespace
