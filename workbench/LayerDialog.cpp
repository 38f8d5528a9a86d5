#include "workbench/LayerDialog.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "data/StringGrid.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"

TOKBottomDlg2::TOKBottomDlg2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg2"));
    setWindowTitle(QStringLiteral(" Layer"));
    CentreOnScreen(this);
    setSizeGripEnabled(true);

    SpinEdit1 = NewArrowSpinEdit(this, 1, 1024);
    ComboBox1 = NewActivationCombo(this);
    StringGrid1 = NewStringGrid(this, 1, 1);
    setGridSize(*StringGrid1, 2, 2);
    setColumnWidths(*StringGrid1, 32, 128);
    StringGrid2 = NewStringGrid(this, 1, 0);
    setGridSize(*StringGrid2, 2, 1);
    setColumnWidths(*StringGrid2, 32, 128);
    OKBtn = NewOkButton(this);
    CancelBtn = NewCancelButton(this);

    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    // The bias grid is as wide as its two columns and room for a scroll bar,
    // which shows only when the rows do not all fit.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, StringGrid2);
    StringGrid2->setFixedWidth(32 + 128 + 2 * StringGrid2->frameWidth() + scrollBar + 2);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* top = new QGridLayout;
    top->addWidget(NewCaption(QStringLiteral("Neurons"), SpinEdit1, this), 0, 0);
    top->addWidget(NewCaption(QStringLiteral("Activation function"), ComboBox1, this), 0, 1);
    top->addWidget(SpinEdit1, 1, 0);
    top->addWidget(ComboBox1, 1, 1);
    top->setColumnStretch(2, 1);
    top->setColumnMinimumWidth(1, 240);

    auto* grids = new QGridLayout;
    grids->addWidget(NewCaption(QStringLiteral("Weights"), StringGrid1, this), 0, 0);
    grids->addWidget(NewCaption(QStringLiteral("Bias"), StringGrid2, this), 0, 1);
    grids->addWidget(StringGrid1, 1, 0);
    grids->addWidget(StringGrid2, 1, 1);
    grids->setColumnStretch(0, 1);
    grids->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addLayout(NewButtonRow(OKBtn, CancelBtn));

    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TOKBottomDlg2::SpinEdit1Change);
    resize(618, 385);
}

void TOKBottomDlg2::SpinEdit1Change()
{
    const int v = std::max(1, SpinEdit1->value());
    const int old = StringGrid1->rowCount() - 1;
    const int cols = StringGrid1->columnCount();
    setGridSize(*StringGrid1, cols, v + 1);
    setGridSize(*StringGrid2, StringGrid2->columnCount(), v);
    const GridFill weights(*StringGrid1);
    const GridFill biases(*StringGrid2);
    for (int m = old + 1; m <= v; ++m) {
        setCellText(*StringGrid1, 0, m, QString::number(m));
        for (int k = 1; k < cols; ++k)
            setCellText(*StringGrid1, k, m, QStringLiteral("0"));
        setCellText(*StringGrid2, 0, m - 1, QString::number(m));
        setCellText(*StringGrid2, 1, m - 1, QStringLiteral("0"));
    }
}
