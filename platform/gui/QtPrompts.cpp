#include "platform/gui/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget* ownerWindow()
{
    return QApplication::activeWindow();
}

void showMessage(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, ownerWindow());
    box.exec();
}

}  // namespace

void QtPrompts::error(const QString& text)
{
    showMessage(QMessageBox::Critical, QStringLiteral("Error"), text);
}

void QtPrompts::warning(const QString& text)
{
    showMessage(QMessageBox::Warning, QStringLiteral("Warning"), text);
}

void QtPrompts::information(const QString& text)
{
    showMessage(QMessageBox::Information, QStringLiteral("Information"), text);
}

bool QtPrompts::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No, ownerWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::inputQuery(const QString& caption, const QString& prompt, QString& text)
{
    QInputDialog dialog(ownerWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.textValue();
    return true;
}

QString QtPrompts::openFileName(const QString& filter, const QString& folder)
{
    QFileDialog dialog(ownerWindow(), QStringLiteral("Open"));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::saveFileName(const QString& fileName, const QString& filter, const QString& defaultExt,
                                bool confirmOverwrite)
{
    QFileDialog dialog(ownerWindow(), QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultExt);
    if (QFileInfo(fileName).isDir())
        dialog.setDirectory(fileName);
    else
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtPrompts::runModal(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}
