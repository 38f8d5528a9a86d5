#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include "analysis/RelativeError.h"
#include "analysis/uGrapher.h"
#include "data/uData.h"
#include "files/DatasetFile.h"
#include "workbench/Unit1Fixture.h"

namespace {

class Grapher : public Unit1Fixture {
protected:
    static QXYSeries* series(QChartView* view, int index)
    {
        return qobject_cast<QXYSeries*>(view->chart()->series().value(index));
    }

    static void click(QListWidget* list, int row)
    {
        QRect item = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    }

    static void toggle(QListWidget* list, int row)
    {
        QListWidgetItem* item = list->item(row);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }

    // Output 2x + 0.5 of one input.
    void lineNetwork()
    {
        addLayer(1, 0, true);
        editLayer(1, {{1, 1, "2"}}, {{1, 0, "0.5"}});
    }

    // Shows the graphs window through the menu; inside runs while it is up.
    void showGrapher(std::function<void(TGrapherForm&)> inside)
    {
        answerDialog<TGrapherForm>([inside](TGrapherForm& g) {
            g.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&g));
            inside(g);
            g.hide();
            return false;
        });
        form->Grapher1->trigger();
    }

    static void fillMatrix(TMatrix& m, const std::vector<std::vector<double>>& rows)
    {
        m.SetSize(int(rows.size()), int(rows.front().size()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                m.SetItem(int(r), int(c), rows[r][c]);
    }

    QString writeDataset(const QString& name, const std::vector<std::vector<double>>& inputs,
                         const std::vector<std::vector<double>>& targets)
    {
        TMatrix in, out;
        fillMatrix(in, inputs);
        fillMatrix(out, targets);
        std::string error;
        EXPECT_TRUE(WriteDatasetFile(path(name).toStdString(), in, out, error)) << error;
        return path(name);
    }
};

TEST_F(Grapher, LoadingAFileDrawsTheThreeTabs)
{
    lineNetwork();
    // Errors 0, 0.25 and 0 of the outputs 0.5, 1.5 and 2.5.
    script.answerFile(writeDataset("line.nld", {{0}, {0.5}, {1}}, {{0.5}, {2}, {2.5}}));
    showGrapher([&](TGrapherForm& g) {
        EXPECT_EQ(g.windowTitle(), "Graphs");
        EXPECT_EQ(g.PageControl->currentWidget(), g.TabSheet2);
        EXPECT_EQ((QStringList{g.PageControl->tabText(0), g.PageControl->tabText(1), g.PageControl->tabText(2)}),
                  (QStringList{" Errors ", " Lags ", " Graphs  "}));
        EXPECT_EQ(g.EChart->chart()->title(), "Relative errors (%)");
        EXPECT_EQ(g.InList->item(0)->text(), " Input 1");
        EXPECT_EQ(g.OutList->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(series(g.FChart, 0)->count(), 0) << "empty until data are loaded";

        g.actLoad->trigger();
        EXPECT_TRUE(g.HasData());
        ASSERT_EQ(g.FChart->chart()->series().size(), 2);
        EXPECT_EQ(series(g.FChart, 0)->count(), 101);
        EXPECT_EQ(series(g.FChart, 0)->at(100).y(), 2 * series(g.FChart, 0)->at(100).x() + 0.5);
        EXPECT_EQ(series(g.FChart, 1)->points(), (QList<QPointF>{{0, 0.5}, {0.5, 2}, {1, 2.5}}));
        EXPECT_FALSE(g.FChart->chart()->legend()->isVisible()) << "one output";

        EXPECT_EQ(series(g.EChart, 0)->points(), (QList<QPointF>{{1, 0}, {2, 25}, {3, 0}}));
        EXPECT_EQ(g.MeanEdit->text(), "8.33333333333333");
        EXPECT_EQ(g.RMSEdit->text(), "11.7851130197758");
        EXPECT_EQ(series(g.EChart, 0)->name(), QString::fromStdString(ErrorSeriesTitle(1, 0.25 / 3, 0.117851130197758)));
        EXPECT_FALSE(g.EChart->chart()->legend()->isVisible());

        EXPECT_TRUE(series(g.LChart, 0)->isVisible());
        EXPECT_EQ(series(g.LChart, 0)->count(), 101);
        EXPECT_EQ(series(g.LChart, 1)->points(), (QList<QPointF>{{0.5, 0.5}, {2, 1.5}, {2.5, 2.5}}));

        // Unchecking the only error output clears both fields; checking it redraws.
        toggle(g.EOutList, 0);
        EXPECT_FALSE(series(g.EChart, 0)->isVisible());
        EXPECT_EQ(series(g.EChart, 0)->count(), 0);
        EXPECT_EQ(g.MeanEdit->text(), "");
        EXPECT_EQ(g.RMSEdit->text(), "");
        toggle(g.EOutList, 0);
        EXPECT_EQ(g.MeanEdit->text(), "8.33333333333333");
        EXPECT_EQ(series(g.EChart, 0)->count(), 3);

        toggle(g.OutList, 0);
        EXPECT_FALSE(series(g.FChart, 0)->isVisible());
        EXPECT_FALSE(series(g.FChart, 1)->isVisible());

        g.actCopy->trigger();
        EXPECT_FALSE(QApplication::clipboard()->image().isNull()) << "the shown chart as a picture";
    });
    EXPECT_TRUE(script.errors().empty());
}

TEST_F(Grapher, TrainingDataFromTheEditorAndListClicksRedraw)
{
    newNetwork(2);
    addLayer(2, 0, true);
    editLayer(1, {{1, 1, "1"}, {2, 2, "1"}}, {});  // outputs = inputs
    fillMatrix(form->DataForm->InputMatrix(), {{3, 10}, {1, 30}, {2, 20}});
    fillMatrix(form->DataForm->OutputMatrix(), {{3, 5}, {1, 6}, {2, 4}});
    showGrapher([&](TGrapherForm& g) {
        g.actLearning->trigger();
        ASSERT_TRUE(g.HasData());
        EXPECT_TRUE(g.FChart->chart()->legend()->isVisible()) << "two outputs";
        EXPECT_TRUE(g.EChart->chart()->legend()->isVisible());
        EXPECT_EQ(series(g.FChart, 0)->points(), (QList<QPointF>{{1, 1}, {2, 2}, {3, 3}}));
        EXPECT_EQ(series(g.FChart, 2)->points(), (QList<QPointF>{{1, 30}, {2, 20}, {3, 10}}))
            << "one point per pattern, ordered by input 1";

        click(g.InList, 1);
        EXPECT_EQ(series(g.FChart, 0)->points(), (QList<QPointF>{{10, 3}, {20, 2}, {30, 1}}));
        EXPECT_EQ(g.FChart->chart()->axes(Qt::Horizontal).value(0)->titleText(), "Input 2");

        click(g.LOutList, 1);
        EXPECT_EQ(series(g.LChart, 1)->points(), (QList<QPointF>{{4, 20}, {5, 10}, {6, 30}}));
        g.LOutList->setCurrentRow(0);  // as the arrow keys do
        EXPECT_EQ(series(g.LChart, 1)->points(), (QList<QPointF>{{1, 1}, {2, 2}, {3, 3}}));

        // Columns that do not match the network: the data go, the charts stay.
        fillMatrix(form->DataForm->InputMatrix(), {{1, 2, 3}});
        fillMatrix(form->DataForm->OutputMatrix(), {{1, 2}});
        g.actLearning->trigger();
        EXPECT_FALSE(g.HasData());
        EXPECT_EQ(series(g.LChart, 1)->count(), 3);
    });
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Grapher, DataStayForTheNextShowingAndAClickRedrawsWithThem)
{
    lineNetwork();
    script.answerFile(writeDataset("line.nld", {{0}, {1}}, {{1}, {2}}));
    showGrapher([](TGrapherForm& g) { g.actLoad->trigger(); });
    showGrapher([&](TGrapherForm& g) {
        EXPECT_EQ(series(g.EChart, 0)->count(), 0) << "the series are made anew";
        click(g.InList, 0);
        EXPECT_EQ(series(g.EChart, 0)->count(), 2);
    });

    // A file of another shape loads, but nothing is drawn with it.
    script.answerFile(writeDataset("wide.nld", {{0, 1}}, {{1}}));
    showGrapher([&](TGrapherForm& g) {
        g.actLoad->trigger();
        EXPECT_TRUE(g.DataLoaded);
        EXPECT_FALSE(g.HasData());
        EXPECT_EQ(series(g.EChart, 0)->count(), 0);
    });
}

TEST_F(Grapher, AFloatingPointErrorEndsTheDrawingWithTheSystemsMessage)
{
    // Without layers the output is the input; a target of 1e-310 puts the
    // second pattern's relative error beyond the double range.
    script.answerFile(writeDataset("tiny.nld", {{1}, {1e10}, {1}}, {{2}, {1e-310}, {1}}));
    showGrapher([&](TGrapherForm& g) {
        g.actLoad->trigger();
        EXPECT_EQ(series(g.EChart, 0)->points(), (QList<QPointF>{{1, 50}})) << "drawn up to the error";
        EXPECT_EQ(g.MeanEdit->text(), "");
        EXPECT_EQ(series(g.LChart, 1)->count(), 0) << "the lags were not reached";
    });
    EXPECT_EQ(script.errors(), std::vector<QString>{"Floating point overflow"});
}

}  // namespace
