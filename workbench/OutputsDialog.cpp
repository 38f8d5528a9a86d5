#include "workbench/OutputsDialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "data/StringGrid.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"

TOKBottomDlg3::TOKBottomDlg3(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg3"));
    setWindowTitle(QStringLiteral(" Outputs"));
    CentreOnScreen(this);
    setSizeGripEnabled(true);

    StringGrid1 = NewStringGrid(this, 1, 0);
    StringGrid1->setFont(GridFont());
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read only: no cell is current or selected, so none looks chosen.
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    setGridSize(*StringGrid1, 2, 1);
    setColumnWidths(*StringGrid1, 32, 168);
    OKBtn = NewOkButton(this, QStringLiteral("Close"));

    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(NewButtonRow(OKBtn));
    resize(249, 315);
}
