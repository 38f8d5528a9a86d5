#pragma once

#include <QDialog>
#include <QString>

#include "data/xMatrix.h"

class QAction;
class QFrame;
class QLabel;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;
class TCountEdit;
class TMatEdit;

// The training data editor: holds the program's dataset, one row per pair in
// an input matrix and an output matrix with the same number of rows, and lets
// the person type, paste, open and save it.
class TDataForm : public QDialog {
    Q_OBJECT
public:
    explicit TDataForm(QWidget* parent = nullptr);

    TMatrix& InputMatrix();
    TMatrix& OutputMatrix();

    // The editor's reader and writer of the dataset file.
    void ReadDataset(const QString& fileName);
    void WriteDataset(const QString& fileName);

    QToolBar* ToolBar1;
    QAction* actNew;
    QAction* actOpen;
    QAction* actSave;
    QAction* actPasteIn;
    QAction* actPasteOut;
    QAction* actImportText;
    QAction* actExportText;
    QAction* actClose;
    TCountEdit* PatEdit;
    TCountEdit* InEdit;
    TCountEdit* OutEdit;
    QFrame* LPanel;
    QFrame* RPanel;
    QSplitter* Splitter1;
    QStatusBar* StatusBar;
    TMatEdit* InputEditor;
    TMatEdit* OutputEditor;

    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void actPasteInExecute();
    void actPasteOutExecute();
    void actImportTextExecute();
    void actExportTextExecute();
    void actPasteUpdate();
    void actCloseExecute();
    void PatEditChange(const QString& text);
    void InEditChange(const QString& text);
    void OutEditChange(const QString& text);
    void SyncOutputRows();
    void SyncInputRows();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildToolBar();
    void takeDataset(TMatrix&& inputs, TMatrix&& outputs);
    void updateGrids();
    QWidget* newCountPanel(const QString& panelName, const QString& labelName, const QString& caption,
                           TCountEdit* edit);
    QFrame* newSidePanel(const QString& panelName, const QString& titleName, const QString& title);

    bool syncing_ = false;  // one grid is being scrolled to follow the other
    QString openFolder_;
    QString saveFolder_;
    QString textFolder_;  // where the text import and export dialogs open
};
