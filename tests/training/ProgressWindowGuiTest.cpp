#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFontInfo>
#include <QGraphicsScene>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

#include "training/ProgressWindow.h"
#include "training/TrainingView.h"

namespace {

QColor ground(const QLineEdit& edit) { return edit.palette().color(QPalette::Base); }

TEST(ProgressWindow, HasTheFixedLayout)
{
    TForm7 w;
    EXPECT_EQ(w.windowTitle(), "Network training");
    EXPECT_EQ(w.StopState, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(w.isModal());

    QChart* errors = w.Chart1->chart();
    EXPECT_EQ(errors->title(), "Errors (%)");
    EXPECT_EQ(errors->backgroundBrush().color(), QColor(192, 220, 192));
    EXPECT_TRUE(errors->legend()->isVisible());
    const std::pair<QLineSeries*, std::pair<QString, QColor>> lines[] = {
        {w.Series1, {"Maximum", QColor(255, 0, 0)}},
        {w.Series2, {"Average", QColor(0, 128, 0)}},
        {w.Series3, {"Deviation", QColor(255, 255, 0)}},
    };
    for (const auto& [series, look] : lines) {
        EXPECT_EQ(series->name(), look.first);
        EXPECT_EQ(series->pen().color(), look.second);
        EXPECT_EQ(series->chart(), errors);
    }
    QChart* relative = w.Chart2->chart();
    EXPECT_EQ(relative->title(), "Relative Errors (%)");
    EXPECT_EQ(relative->backgroundBrush().color(), QColor(192, 220, 192));
    EXPECT_TRUE(QFontInfo(relative->legend()->font()).fixedPitch()) << "the padded titles line up";

    for (QLineEdit* edit : {w.Edit1, w.Edit2, w.MeanEdit, w.RMSEdit}) {
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(ground(*edit), edit->palette().color(QPalette::Button));
        ASSERT_NE(qobject_cast<QLabel*>(edit->parentWidget()->findChild<QLabel*>()), nullptr);
    }
    const std::pair<QLineEdit*, QString> captions[] = {{w.Edit1, "Iterations"}, {w.Edit2, "Maximum Error (%)"},
                                                       {w.MeanEdit, "Average Error (%)"}, {w.RMSEdit, "Standard Deviation (%)"}};
    for (const auto& [edit, caption] : captions)
        EXPECT_EQ(edit->parentWidget()->findChild<QLabel*>()->text(), caption);
    EXPECT_EQ(w.Button1->text(), "Close");
    EXPECT_EQ(w.Splitter1->handleWidth(), 6);
    EXPECT_EQ(w.Splitter2->handleWidth(), 7);

    w.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(708, 499));
    EXPECT_EQ(w.Chart1->height(), 161);
    EXPECT_EQ(w.OutList->width(), 96);

    // Smaller than 640 x 480 is refused; the bottom row follows the edge.
    w.resize(500, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(640, 480));
    EXPECT_GT(w.Chart1->minimumHeight(), 0);
    w.resize(900, 700);
    QCoreApplication::processEvents();
    // The bottom row (and the outcome line below it) follow the bottom edge.
    EXPECT_GT(w.Button1->geometry().bottom(), 650);
    EXPECT_GT(w.Button1->geometry().right(), 880);
    EXPECT_GT(w.Edit1->mapTo(&w, QPoint(0, w.Edit1->height())).y(), 650);
    EXPECT_GT(w.OutcomeLabel->geometry().top(), w.Edit1->mapTo(&w, QPoint(0, w.Edit1->height())).y());
}

TEST(ProgressWindow, ButtonStopsTheRunThenClosesTheWindow)
{
    TForm7 w;
    w.BeginRun(" Training - Error Back Propagation");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), " Training - Error Back Propagation");
    EXPECT_EQ(w.Button1->text(), "Stop");

    QTest::mouseClick(w.Button1, Qt::LeftButton);
    EXPECT_EQ(w.StopState, 1);
    EXPECT_EQ(w.Button1->text(), "Stop") << "until the loop has finished";
    EXPECT_TRUE(w.isVisible());

    // The title bar's close only hides the window; the run goes on.
    w.StopState = 0;
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.StopState, 0);

    w.BeginRun(" Training - Error Back Propagation");
    w.EndRun(1200, 0.0123, "Iteration limit achieved");
    EXPECT_EQ(w.Button1->text(), "Close");
    EXPECT_EQ(w.Edit1->text(), " 1200");
    EXPECT_EQ(w.Edit2->text(), " 1.23");
    EXPECT_EQ(w.OutcomeLabel->text(), "Iteration limit achieved");
    w.StopState = 3;
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.StopState, 3);
}

TEST(ProgressWindow, ActivationEmptiesOnlyTheMaximumLine)
{
    TForm7 w;
    QWidget other;
    w.BeginRun(" Training - Error Back Propagation");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    other.show();
    for (QLineSeries* series : {w.Series1, w.Series2, w.Series3})
        series->append(250, 1);
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(w.Series1->count(), 1) << "losing the focus changes nothing";
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.Series1->count(), 0);
    EXPECT_EQ(w.Series2->count(), 1);
    EXPECT_EQ(w.Series3->count(), 1);
}

TWindowSummary summaryOf(int iterations, std::vector<std::string> titles, std::vector<double> percents)
{
    TWindowSummary s;
    s.Iterations = iterations;
    s.WindowMax = iterations / 100.0;
    s.Average = 2.5;
    s.Deviation = 0.00005;
    s.Titles = std::move(titles);
    s.Percents = std::move(percents);
    s.PercentMin = *std::min_element(s.Percents.begin(), s.Percents.end());
    s.PercentMax = *std::max_element(s.Percents.begin(), s.Percents.end());
    return s;
}

TEST(TrainingView, KeepsTheWindowsUntilAFlushAndShowsTheOutputsCheckedWhenEachEnded)
{
    TForm7 w;
    QLabel iterations, error;
    w.BeginRun(" Training - Fast Back Propagation");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << "its activation would empty the Maximum line";
    w.SetOutputs(2);
    ASSERT_EQ(w.OutList->count(), 2);
    EXPECT_EQ(w.OutList->item(1)->text(), " Output 2");
    EXPECT_EQ(w.OutList->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(w.OutputSeries(1)->name(), "Output 2");
    EXPECT_EQ(w.Chart2->chart()->series().size(), 2);

    TTrainingView view(w, &iterations, &error);
    view.Display(summaryOf(250, {"  1   10.00%    0.00%", "  2    5.00%    1.00%"}, {10, -10, 5, 0}));
    view.Display(summaryOf(500, {"  1    3.00%    0.00%", "  2    1.50%    0.50%"}, {3, -3, 1, 2}));
    EXPECT_EQ(w.Series1->count(), 0) << "nothing is written before the flush";
    w.OutList->item(1)->setCheckState(Qt::Unchecked);  // after the window ended
    view.Flush();

    for (QLineSeries* series : {w.Series1, w.Series2, w.Series3})
        ASSERT_EQ(series->count(), 2);
    EXPECT_EQ(w.Series1->at(1), QPointF(500, 5));
    EXPECT_EQ(w.Series2->at(0), QPointF(250, 2.5));
    EXPECT_EQ(w.Edit1->text(), " 500");
    EXPECT_EQ(w.Edit2->text(), " 5");
    EXPECT_EQ(w.MeanEdit->text(), " 2.5");
    EXPECT_EQ(w.RMSEdit->text(), " 5E-5");
    EXPECT_EQ(iterations.text(), " 500");
    EXPECT_EQ(error.text(), " 5");
    QLineSeries* first = w.OutputSeries(0);
    QLineSeries* second = w.OutputSeries(1);
    EXPECT_EQ(first->points(), QList<QPointF>({{1, 3}, {2, -3}}));
    EXPECT_EQ(second->points(), QList<QPointF>({{1, 1}, {2, 2}}));
    EXPECT_EQ(first->name(), QString("  1    3.00%    0.00%").replace(' ', QChar(0xA0)))
        << "blanks that the legend's rich text would not run together";
    EXPECT_TRUE(second->isVisible()) << "it was checked when the window ended";
    EXPECT_LE(w.RelativeErrorAxis->min(), -3);
    EXPECT_GE(w.RelativeErrorAxis->max(), 3);
    EXPECT_GE(w.EpochAxis->max(), 500);

    // The next window hides it; checked again, the one after shows it.
    view.Display(summaryOf(750, {"  1    3.00%    0.00%", "  2    1.50%    0.50%"}, {3, -3, 1, 2}));
    w.OutList->item(1)->setCheckState(Qt::Checked);
    view.Flush();
    EXPECT_FALSE(second->isVisible());
    view.Display(summaryOf(1000, {"  1    3.00%    0.00%", "  2    1.50%    0.50%"}, {3, -3, 1, 2}));
    QTRY_VERIFY_WITH_TIMEOUT((view.Pump(), w.Series1->count() == 4), 5000);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(w.Series3->at(3), QPointF(1000, 0.00005));

    // Activation empties "Maximum", kept windows included, and its axis
    // shrinks to the other lines.
    EXPECT_GE(w.ErrorAxis->max(), 10);
    view.Display(summaryOf(1250, {"  1    3.00%    0.00%", "  2    1.50%    0.50%"}, {3, -3, 1, 2}));
    w.FormActivate();
    view.Flush();
    EXPECT_EQ(w.Series1->count(), 0);
    EXPECT_EQ(w.Series2->count(), 5);
    EXPECT_LT(w.ErrorAxis->max(), 10);
}

TEST(TrainingView, AnAxisThatGrowsAThousandfoldKeepsAFewTicks)
{
    // A long run's epoch axis goes from 0..250 in steps of 50 to millions;
    // the axis labels every tick, so the step must grow with the range.
    TForm7 w;
    w.BeginRun(" Training - Error Back Propagation");
    w.SetOutputs(1);
    TTrainingView view(w, nullptr, nullptr);
    for (int iterations : {250, 1000000, 250000000}) {
        view.Display(summaryOf(iterations, {"  1    1.00%    0.00%"}, {1, -1}));
        view.Flush();
        QCoreApplication::processEvents();
        EXPECT_GE(w.EpochAxis->max(), iterations);
        EXPECT_LE(w.EpochAxis->max() / w.EpochAxis->tickInterval(), 10);
        EXPECT_LT(w.Chart1->scene()->items().size(), 200);
    }
}

}  // namespace
