#pragma once

#include "platform/gui/Prompts.h"

// The real boxes: QMessageBox, QInputDialog, QFileDialog and QDialog::exec,
// each parented to the active window so it stays on top of it.
class QtPrompts : public Prompts {
public:
    void error(const QString& text) override;
    void warning(const QString& text) override;
    void information(const QString& text) override;
    bool confirm(const QString& text) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& text) override;
    QString openFileName(const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& fileName, const QString& filter, const QString& defaultExt,
                         bool confirmOverwrite) override;
    bool runModal(QDialog& dialog) override;
};
