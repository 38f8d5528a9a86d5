#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <utility>

#include "data/CountEdit.h"
#include "data/TextImportDialog.h"
#include "data/uData.h"
#include "data/uMatEdit.h"
#include "files/TextDataset.h"
#include "platform/gui/Prompts.h"

// The editor's text import and export, beside its dataset file commands.

namespace {

const QString kTextFilter = QStringLiteral("Text Files (*.csv *.txt *.tsv *.dat);;All Files (*)");

std::string localPath(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace

// The whole file is read and checked before the person is asked anything, so
// a file that cannot be imported changes nothing and shows no dialog.
void TDataForm::actImportTextExecute()
{
    if (textFolder_.isEmpty())
        textFolder_ = QCoreApplication::applicationDirPath();
    const QString name = prompts().openFileName(kTextFilter, textFolder_);
    if (name.isEmpty())
        return;
    textFolder_ = QFileInfo(name).absolutePath();

    TTextTable table;
    std::string error;
    if (!ReadTextTable(localPath(name), table, error)) {
        prompts().error(QString::fromStdString(error));
        return;
    }
    TTextImportDialog dialog(this);
    dialog.SetTable(table, OutputMatrix().Cols());
    if (!prompts().runModal(dialog))
        return;
    TMatrix inputs, outputs;
    if (!SplitTextTable(table, dialog.OutputColumns(), inputs, outputs)) {
        prompts().error(QStringLiteral("Not enough memory for the dataset"));
        return;
    }
    takeDataset(std::move(inputs), std::move(outputs));
}

void TDataForm::actExportTextExecute()
{
    if (textFolder_.isEmpty())
        textFolder_ = QCoreApplication::applicationDirPath();
    const QString name = prompts().saveFileName(textFolder_, QStringLiteral("CSV Files (*.csv);;All Files (*)"),
                                                QStringLiteral("csv"), true);
    if (name.isEmpty())
        return;
    textFolder_ = QFileInfo(name).absolutePath();
    std::string error;
    if (!WriteTextDataset(localPath(name), InputMatrix(), OutputMatrix(), error))
        prompts().error(QString::fromStdString(error));
}
