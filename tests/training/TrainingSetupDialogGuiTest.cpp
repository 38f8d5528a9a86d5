#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "data/uData.h"
#include "files/DatasetFile.h"
#include "training/TrainingSetupDialog.h"
#include "workbench/ScriptedPrompts.h"

namespace {

QColor ground(const QLineEdit& edit) { return edit.palette().color(QPalette::Base); }

class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dlg.SetEditor(&editor);
        dlg.NetInputs = 3;
        dlg.NetOutputs = 2;
    }
    void TearDown() override { EXPECT_TRUE(script.scriptUsedUp()); }

    QString datasetFile(const QString& name, int inputs, int outputs)
    {
        QString file = dir.filePath(name);
        std::string error;
        EXPECT_TRUE(WriteDatasetFile(file.toStdString(), TMatrix(2, inputs), TMatrix(2, outputs), error)) << error;
        return file;
    }

    ScriptedPrompts script;
    QTemporaryDir dir;
    TDataForm editor;
    TOKBottomDlg4 dlg;
};

TEST_F(SetupDialog, StartsWithTheInitialValues)
{
    EXPECT_EQ(dlg.windowTitle(), " Network training");
    ASSERT_EQ(dlg.PageControl1->count(), 2);
    EXPECT_EQ(dlg.PageControl1->tabText(0), "Error Back Propagation");
    EXPECT_EQ(dlg.PageControl1->tabText(1), "Fast Back Propagation");
    EXPECT_EQ(dlg.PageControl1->currentWidget(), dlg.TabSheet1);
    EXPECT_EQ(dlg.Edit1->parentWidget(), dlg.TabSheet1);
    EXPECT_EQ(dlg.Edit2->parentWidget(), dlg.TabSheet2);
    EXPECT_EQ(dlg.Edit4->parentWidget(), dlg.TabSheet2);
    for (QLineEdit* edit : {dlg.Edit1, dlg.Edit2, dlg.Edit4})
        EXPECT_EQ(edit->text(), "0.01");
    EXPECT_EQ(dlg.Edit5->text(), "1000000");
    EXPECT_EQ(dlg.Edit6->text(), "1");
    EXPECT_TRUE(dlg.Edit3->text().isEmpty());
    EXPECT_FALSE(dlg.Edit3->isEnabled());
    EXPECT_EQ(dlg.Label1->text(), "Training dataset");
    EXPECT_EQ(dlg.Label2->text(), "Buffer");
    EXPECT_EQ(dlg.Button1->text(), "Browse");
    EXPECT_EQ(dlg.DataSrc->text(), " Use data from the editor ");
    EXPECT_FALSE(dlg.DataSrc->isChecked());
    EXPECT_EQ(dlg.actStart->text(), "&Start");
    EXPECT_EQ(dlg.OKBtn->text(), "&Start");
    EXPECT_TRUE(dlg.OKBtn->isDefault());
    EXPECT_EQ(dlg.CancelBtn->text(), "Cancel");
    EXPECT_FALSE(dlg.FileChecked);
    EXPECT_FALSE(dlg.OKBtn->isEnabled());
    EXPECT_EQ(TOKBottomDlg4::OpenDialog1Filter, "Learning Data Files (*.nld);;All Files (*)");

    // The buffer moves in steps of 50 within 50..1000 and cannot be typed into.
    EXPECT_EQ(dlg.BufEdit->value(), 250);
    EXPECT_TRUE(dlg.BufEdit->findChild<QLineEdit*>()->isReadOnly());
    dlg.BufEdit->setValue(50);
    dlg.BufEdit->stepDown();
    EXPECT_EQ(dlg.BufEdit->value(), 50);
    dlg.BufEdit->stepUp();
    EXPECT_EQ(dlg.BufEdit->value(), 100);
    dlg.BufEdit->setValue(1000);
    dlg.BufEdit->stepUp();
    EXPECT_EQ(dlg.BufEdit->value(), 1000);

    // Cancel and Escape close it without OK; Start alone accepts.
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(SetupDialog, BrowseAcceptsOnlyAMatchingDatasetFile)
{
    const QString good = datasetFile("good.nld", 3, 2);
    const QString narrow = datasetFile("narrow.nld", 3, 1);
    QString wrongMagic = dir.filePath("magic.nld");
    {
        QFile in(good), out(wrongMagic);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        QByteArray bytes = in.readAll();
        bytes[3] = 'X';
        out.write(bytes);
    }
    const QString missing = dir.filePath("missing.nld");
    struct Case {
        QString file;
        QString reason;  // empty: accepted
    };
    const Case cases[] = {
        {narrow, "Incompatible sizes of inputs and outputs"},
        {wrongMagic, "Incorrect dataset file"},
        {missing, "No such file or directory"},
        {good, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        script.messages.clear();
        script.answerFile(c.file);
        dlg.Button1->click();
        EXPECT_EQ(script.filesShown.back().filter, TOKBottomDlg4::OpenDialog1Filter);
        if (c.reason.isEmpty()) {
            EXPECT_TRUE(script.messages.empty());
            EXPECT_TRUE(dlg.FileChecked);
            EXPECT_EQ(dlg.Edit3->text(), c.file);
            EXPECT_TRUE(dlg.OKBtn->isEnabled());
        } else {
            ASSERT_EQ(script.errors().size(), 1u);
            EXPECT_TRUE(script.errors()[0].startsWith(c.file + " - ")) << script.errors()[0].toStdString();
            EXPECT_TRUE(script.errors()[0].contains(c.reason)) << script.errors()[0].toStdString();
            EXPECT_FALSE(dlg.FileChecked);
            EXPECT_FALSE(dlg.OKBtn->isEnabled());
        }
    }

    // Browsing again and cancelling: the old name stays, Start does not.
    script.answerFile(QString());
    dlg.Button1->click();
    EXPECT_EQ(dlg.Edit3->text(), good);
    EXPECT_FALSE(dlg.FileChecked);
    EXPECT_FALSE(dlg.OKBtn->isEnabled());
}

TEST_F(SetupDialog, TheEditorAsSourceNeedsAPatternOfTheNetworksShape)
{
    const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(ground(*dlg.Edit3), window);
    EXPECT_TRUE(dlg.Button1->isEnabled());

    struct Case {
        int rows, inputs, outputs;
        bool start;
    };
    const Case cases[] = {{0, 3, 2, false}, {1, 3, 2, true}, {5, 3, 2, true}, {5, 2, 2, false}, {5, 3, 1, false}};
    for (const Case& c : cases) {
        editor.InputMatrix().SetSize(c.rows, c.inputs);
        editor.OutputMatrix().SetSize(c.rows, c.outputs);
        dlg.DataSrc->setChecked(false);
        dlg.DataSrc->setChecked(true);
        EXPECT_EQ(dlg.OKBtn->isEnabled(), c.start) << c.rows << " x " << c.inputs << " -> " << c.outputs;
        EXPECT_EQ(dlg.CanStart(), c.start);
    }
    EXPECT_FALSE(dlg.Button1->isEnabled());
    EXPECT_EQ(ground(*dlg.Edit3), face);

    // A confirmed file counts again as soon as the editor is no longer the source.
    script.answerFile(datasetFile("good.nld", 3, 2));
    dlg.DataSrc->setChecked(false);
    dlg.Button1->click();
    dlg.DataSrc->setChecked(true);
    editor.InputMatrix().SetSize(0, 3);
    dlg.actStartUpdate();
    EXPECT_FALSE(dlg.OKBtn->isEnabled());
    dlg.DataSrc->setChecked(false);
    EXPECT_TRUE(dlg.OKBtn->isEnabled());
    EXPECT_TRUE(dlg.Button1->isEnabled());
    EXPECT_EQ(ground(*dlg.Edit3), window);

    // Start closes the dialog with OK.
    dlg.show();
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

}  // namespace
