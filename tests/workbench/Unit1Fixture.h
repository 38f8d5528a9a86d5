#pragma once

#include <functional>
#include <memory>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "workbench/AddLayerDialog.h"
#include "workbench/InputVectorDialog.h"
#include "workbench/LayerDialog.h"
#include "workbench/OutputsDialog.h"
#include "workbench/RadioGroup.h"
#include "workbench/ScriptedPrompts.h"
#include "data/StringGrid.h"
#include "workbench/Unit1.h"

// A fresh main window per test, answered by a script; random weights repeat
// from test to test.
class Unit1Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetSeedClock([] { return 20240601u; });
        form = std::make_unique<TForm1>();
        ASSERT_TRUE(dir.isValid());
    }

    void TearDown() override
    {
        form.reset();
        platform::SetSeedClock({});
        EXPECT_TRUE(script.scriptUsedUp()) << "a scripted answer was not asked for";
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    // The dialog the next runModal shows, as its own class; the filler sets its
    // controls and returns true for OK.
    template <class Dialog>
    void answerDialog(std::function<bool(Dialog&)> filler)
    {
        script.answerDialog([filler](QDialog& d) {
            auto* dialog = dynamic_cast<Dialog*>(&d);
            EXPECT_NE(dialog, nullptr) << "another dialog was shown: " << d.objectName().toStdString();
            return dialog ? filler(*dialog) : false;
        });
    }

    void newNetwork(int inputs)
    {
        script.answerQuery(QString::number(inputs));
        form->NewNet1->trigger();
    }

    // Adds a layer through the add-layer dialog; weights and biases random in
    // -1..1 unless zeros is set.
    void addLayer(int neurons, int activation, bool zeros = false)
    {
        answerDialog<TOKBottomDlg>([=](TOKBottomDlg& dlg) {
            dlg.SpinEdit1->setValue(neurons);
            dlg.ComboBox1->setCurrentIndex(activation);
            dlg.RadioGroup1->setItemIndex(zeros ? 1 : 0);
            dlg.RadioGroup2->setItemIndex(zeros ? 1 : 0);
            return true;
        });
        form->AddLayer1->trigger();
    }

    // Types values into the cells of layer L's dialog, (column, row, text).
    struct Cell {
        int col, row;
        QString text;
    };
    void editLayer(int L, std::vector<Cell> weights, std::vector<Cell> biases)
    {
        script.answerQuery(QString::number(L));
        answerDialog<TOKBottomDlg2>([=](TOKBottomDlg2& dlg) {
            for (const Cell& c : weights)
                setCellText(*dlg.StringGrid1, c.col, c.row, c.text);
            for (const Cell& c : biases)
                setCellText(*dlg.StringGrid2, c.col, c.row, c.text);
            return true;
        });
        form->N3->trigger();
    }

    void typeInputs(std::vector<QString> values)
    {
        answerDialog<TOKBottomDlg1>([=](TOKBottomDlg1& dlg) {
            dlg.SpinEdit1->setValue(int(values.size()));
            for (int r = 0; r < int(values.size()); ++r)
                setCellText(*dlg.StringGrid1, 1, r, values[r]);
            return true;
        });
        form->InputVector1->trigger();
    }

    ScriptedPrompts script;  // outlives the window
    std::unique_ptr<TForm1> form;
    QTemporaryDir dir;
};
