#include <QChart>
#include <QChartView>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "analysis/ProfilerDialog.h"
#include "workbench/Unit1Fixture.h"

namespace {

using Profiler = Unit1Fixture;

// A clock that moves by one millisecond at every reading: each test of 1000
// passes measures 0.001 ms per evaluation.
struct SteppingClock {
    double now = 0;
    double operator()() { return now += 1; }
};

TEST_F(Profiler, RunsTheTestsAndShowsTheTimesAndTheirSpread)
{
    addLayer(3, 2);
    bool buttonsDisabledDuringRun = true;
    answerDialog<TOKBottomDlg7>([&](TOKBottomDlg7& dlg) {
        EXPECT_EQ(dlg.windowTitle(), " Network perfromance profiler ");
        EXPECT_EQ(dlg.Net, form->Net.get());
        EXPECT_EQ(dlg.Edit1->text(), " 1000") << "the field's text at start-up";
        EXPECT_EQ(dlg.Chart1->chart()->title(), "Calculation Time (ms)");
        EXPECT_EQ(dlg.Series1->color(), QColor(Qt::red));
        SteppingClock steps;
        dlg.Clock = [&] {
            buttonsDisabledDuringRun &= !dlg.Button1->isEnabled() && !dlg.OKBtn->isEnabled();
            return steps();
        };
        dlg.Edit1->setText(QStringLiteral("4"));
        QTest::mouseClick(dlg.Button1, Qt::LeftButton);
        return true;
    });
    form->SpeedProfiler1->trigger();

    TOKBottomDlg7& dlg = *form->OKBottomDlg7;
    EXPECT_TRUE(buttonsDisabledDuringRun);
    EXPECT_TRUE(dlg.Button1->isEnabled());
    EXPECT_TRUE(dlg.OKBtn->isEnabled());
    EXPECT_EQ(dlg.Edit1->text(), "4");
    EXPECT_EQ(dlg.Edit2->text(), " 0.001000");
    EXPECT_EQ(dlg.Edit3->text(), " 0.0000E+000");
    EXPECT_EQ(dlg.ProgressBar1->value(), 0);
    EXPECT_EQ(dlg.ProgressBar1->maximum(), 4);
    const QList<QPointF> points = dlg.Series1->points();
    ASSERT_EQ(points.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(points[i], QPointF(i, 0.001));
    EXPECT_TRUE(form->Net->Evaluated);
}

TEST_F(Profiler, TestCountsOutOfRangeAreBroughtIntoRangeAndBadTextRunsNothing)
{
    struct Case {
        const char* typed;
        const char* shown;
        int points;
    };
    const Case cases[] = {{"0", "1", 1}, {"-3", "1", 1}, {"99999", "5000", 5000}, {" 2 ", " 2 ", 2}};
    for (const Case& c : cases) {
        answerDialog<TOKBottomDlg7>([&](TOKBottomDlg7& dlg) {
            dlg.Clock = SteppingClock{};
            dlg.Edit1->setText(QString::fromLatin1(c.typed));
            dlg.Button1->click();
            return true;
        });
        form->SpeedProfiler1->trigger();
        EXPECT_EQ(form->OKBottomDlg7->Edit1->text(), c.shown) << c.typed;
        EXPECT_EQ(form->OKBottomDlg7->Series1->count(), c.points) << c.typed;
    }

    answerDialog<TOKBottomDlg7>([&](TOKBottomDlg7& dlg) {
        dlg.Edit1->setText(QStringLiteral("1e3"));
        dlg.Button1->click();
        return true;
    });
    form->SpeedProfiler1->trigger();
    TOKBottomDlg7& dlg = *form->OKBottomDlg7;
    EXPECT_EQ(script.errors(), std::vector<QString>{"'1e3' is not a valid integer value"});
    EXPECT_TRUE(dlg.Button1->isEnabled());
    EXPECT_TRUE(dlg.OKBtn->isEnabled());
    EXPECT_EQ(dlg.Series1->count(), 2) << "the last run's results stay";
    EXPECT_EQ(dlg.Edit2->text(), " 0.001000");
}

}  // namespace
