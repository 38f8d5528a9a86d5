#pragma once

#include <QString>

class QDialog;

// Everything a window asks the person: message boxes, the input query, file
// names and modal dialogs. Windows talk to the installed Prompts only, so the
// program shows real boxes and the tests answer them from a script.
class Prompts {
public:
    virtual ~Prompts() = default;

    // Message boxes with an OK button.
    virtual void error(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void information(const QString& text) = 0;

    // A confirmation with Yes and No; true for Yes.
    virtual bool confirm(const QString& text) = 0;

    // A caption, a prompt above one text field holding text, OK and Cancel.
    // On OK returns true with the typed text in text; on Cancel text is kept.
    virtual bool inputQuery(const QString& caption, const QString& prompt, QString& text) = 0;

    // The chosen file name, or an empty text when the person cancelled.
    // filter is in the toolkit's form: "Corvalith File (*.crv);;All Files (*)".
    // The dialog opens in folder, or the toolkit's choice when it is empty.
    virtual QString openFileName(const QString& filter, const QString& folder = QString()) = 0;
    // The save dialog opens on fileName (a file, or a folder); a name typed
    // without an extension gets defaultExt ("crv"). An existing file is
    // replaced without a question unless confirmOverwrite is set, when the
    // dialog asks before accepting its name.
    virtual QString saveFileName(const QString& fileName, const QString& filter, const QString& defaultExt,
                                 bool confirmOverwrite = false) = 0;

    // Shows dialog modally; true when it was closed with OK.
    virtual bool runModal(QDialog& dialog) = 0;
};

// The Prompts every window uses. The program installs the Qt boxes at start-up;
// tests install a scripted one. Until something is installed, the Qt boxes.
Prompts& prompts();

// Installs p (not owned; nullptr restores the Qt boxes) and returns the
// previous one.
Prompts* installPrompts(Prompts* p);

// Shows the exception being handled in the error box: its own text, or
// "Unknown error". Call it only from a catch block.
void ReportCurrentException();

// Runs a window's command; an exception ends it with the error box instead
// of reaching Qt's event loop.
template <class Command>
void RunReporting(Command&& command)
{
    try {
        command();
    } catch (...) {
        ReportCurrentException();
    }
}
