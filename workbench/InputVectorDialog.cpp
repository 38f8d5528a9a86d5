#include "workbench/InputVectorDialog.h"

#include <algorithm>

#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "data/StringGrid.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"

TOKBottomDlg1::TOKBottomDlg1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg1"));
    setWindowTitle(QStringLiteral(" Inputs vector"));
    CentreOnScreen(this);
    setSizeGripEnabled(true);

    SpinEdit1 = NewArrowSpinEdit(this, 1, 2048);
    StringGrid1 = NewStringGrid(this, 1, 0);
    StringGrid1->setFont(GridFont());
    setGridSize(*StringGrid1, 2, 1);
    setColumnWidths(*StringGrid1, 32, 192);
    OKBtn = NewOkButton(this);
    CancelBtn = NewCancelButton(this);

    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCaption(QStringLiteral("Size"), SpinEdit1, this));
    layout->addWidget(SpinEdit1, 0, Qt::AlignLeft);
    layout->addWidget(NewCaption(QStringLiteral("Values"), StringGrid1, this));
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(NewButtonRow(OKBtn, CancelBtn));

    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TOKBottomDlg1::SpinEdit1Change);
    resize(263, 351);
}

void TOKBottomDlg1::SpinEdit1Change()
{
    const int v = std::max(1, SpinEdit1->value());
    const int old = StringGrid1->rowCount();
    setGridSize(*StringGrid1, StringGrid1->columnCount(), v);
    const GridFill fill(*StringGrid1);
    for (int r = old; r < v; ++r) {
        setCellText(*StringGrid1, 0, r, RowNumberText(r + 1));
        setCellText(*StringGrid1, 1, r, QStringLiteral("0"));
    }
}
