#include "workbench/AddLayerDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"
#include "workbench/RadioGroup.h"

namespace {

// A "Random range" frame holding the labelled "from" and "to" fields.
QGroupBox* newRangeBox(QWidget* parent, QLineEdit*& from, QLineEdit*& to)
{
    auto* box = new QGroupBox(QStringLiteral("Random range"), parent);
    from = new QLineEdit(QStringLiteral("-1"), box);
    to = new QLineEdit(QStringLiteral("1"), box);
    auto* grid = new QGridLayout(box);
    grid->addWidget(NewCaption(QStringLiteral("from"), from, box), 0, 0);
    grid->addWidget(NewCaption(QStringLiteral("to"), to, box), 0, 1);
    grid->addWidget(from, 1, 0);
    grid->addWidget(to, 1, 1);
    grid->setRowStretch(2, 1);
    return box;
}

TRadioGroup* newInitChoice(const QString& caption, QWidget* parent)
{
    return new TRadioGroup(caption, {QStringLiteral(" Random"), QStringLiteral(" Zeros")}, parent);
}

}  // namespace

TOKBottomDlg::TOKBottomDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral(" Add layer of neurons"));
    CentreOnScreen(this);

    SpinEdit1 = NewArrowSpinEdit(this, 1, 1024);
    ComboBox1 = NewActivationCombo(this);
    RadioGroup1 = newInitChoice(QStringLiteral("Weights"), this);
    RadioGroup2 = newInitChoice(QStringLiteral("Bias"), this);
    GroupBox1 = newRangeBox(this, Edit1, Edit2);
    GroupBox2 = newRangeBox(this, Edit3, Edit4);
    OKBtn = NewOkButton(this);
    CancelBtn = NewCancelButton(this);

    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit4->setObjectName(QStringLiteral("Edit4"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* grid = new QGridLayout;
    grid->addWidget(NewCaption(QStringLiteral("Neurons"), SpinEdit1, this), 0, 0);
    grid->addWidget(NewCaption(QStringLiteral("Activation function"), ComboBox1, this), 0, 1);
    grid->addWidget(SpinEdit1, 1, 0);
    grid->addWidget(ComboBox1, 1, 1);
    grid->setRowMinimumHeight(2, 6);
    grid->addWidget(RadioGroup1, 3, 0);
    grid->addWidget(GroupBox1, 3, 1);
    grid->addWidget(RadioGroup2, 4, 0);
    grid->addWidget(GroupBox2, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 120);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(NewButtonRow(OKBtn, CancelBtn));

    RadioGroup1->setItemIndex(0);
    RadioGroup2->setItemIndex(1);
    connect(RadioGroup1, &TRadioGroup::clicked, this, &TOKBottomDlg::RadioGroup1Click);
    connect(RadioGroup2, &TRadioGroup::clicked, this, &TOKBottomDlg::RadioGroup2Click);
    RadioGroup1Click();
    RadioGroup2Click();

    setFixedSize(minimumSizeHint().expandedTo(QSize(399, 292)));
}

void TOKBottomDlg::RadioGroup1Click()
{
    const bool random = RadioGroup1->itemIndex() == 0;
    GroupBox1->setEnabled(random);
    SetFieldEnabled(*Edit1, random);
    SetFieldEnabled(*Edit2, random);
}

void TOKBottomDlg::RadioGroup2Click()
{
    const bool random = RadioGroup2->itemIndex() == 0;
    GroupBox2->setEnabled(random);
    SetFieldEnabled(*Edit3, random);
    SetFieldEnabled(*Edit4, random);
}
