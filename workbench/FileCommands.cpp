#include <QAction>
#include <QFile>

#include "files/CExport.h"
#include "files/NetFile.h"
#include "platform/gui/Prompts.h"
#include "workbench/Unit1.h"

namespace {

std::string localPath(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

}  // namespace

bool TForm1::WriteNetFile(const QString& name)
{
    std::string error;
    if (::WriteNetFile(*Net, localPath(name), error))
        return true;
    prompts().error(QString::fromStdString(error));
    return false;
}

void TForm1::ReadNetFile(const QString& name)
{
    if (Training)
        return;
    bool accepted = ::ReadNetFile(localPath(name), Net);
    if (Net->LayerCount() >= 1)
        N3->setEnabled(true);
    // The old network may be gone: the diagram must not hold it a moment longer.
    RedrawDiagram();
    if (accepted) {
        FileName = name;
        setCaption(FileName);
    } else {
        prompts().error(QStringLiteral("Wrong file type OR run application as Administrator"));
    }
}

// The new name is taken only once the network is on disk, so a failed save
// leaves the title naming the file that really holds the network.
void TForm1::saveAs()
{
    QString name = prompts().saveFileName(FileName, QStringLiteral("Corvalith File (*.crv)"),
                                          QStringLiteral("crv"));
    if (name.isEmpty())
        return;
    if (!WriteNetFile(name))
        return;
    FileName = name;
    setCaption(FileName);
}

void TForm1::open()
{
    QString name = prompts().openFileName(QStringLiteral("Corvalith File (*.crv);;All Files (*)"));
    if (name.isEmpty())
        return;
    ReadNetFile(name);
}

void TForm1::SaveNetAs1Click()
{
    if (Training)
        return;
    saveAs();
}

void TForm1::SaveNet1Click()
{
    if (Training)
        return;
    if (FileName != kUntitledFileName)
        WriteNetFile(FileName);
    else
        saveAs();
}

void TForm1::LoadNet1Click()
{
    if (Training)
        return;
    open();
}

void TForm1::ToolButton10Click()
{
    if (Training)
        return;
    if (FileName != kUntitledFileName && !FileName.isEmpty())
        ReadNetFile(FileName);
    else
        open();
}

// The save dialog offers the network's own name with the header's extension
// and asks before replacing a file; the C names inside the header come from
// the name chosen.
void TForm1::ExportAsC1Click()
{
    if (Training)
        return;
    QString suggested = FileName;
    if (suggested.endsWith(QStringLiteral(".crv"), Qt::CaseInsensitive))
        suggested.chop(4);
    suggested += QStringLiteral(".h");
    QString name = prompts().saveFileName(suggested, QStringLiteral("C Header (*.h);;All Files (*)"),
                                          QStringLiteral("h"), true);
    if (name.isEmpty())
        return;
    std::string error;
    if (!ExportNetworkAsC(*Net, localPath(name), error))
        prompts().error(QString::fromStdString(error));
}
