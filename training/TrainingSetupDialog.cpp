#include "training/TrainingSetupDialog.h"

#include <string>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/uData.h"
#include "files/DatasetFile.h"
#include "platform/gui/Prompts.h"
#include "platform/gui/ScreenPlacement.h"

const QString TOKBottomDlg4::OpenDialog1Filter = QStringLiteral("Learning Data Files (*.nld);;All Files (*)");

namespace {

QLineEdit* newEdit(const char* objectName, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

// A caption above its edit, in one cell of a grid.
void addLabelled(QGridLayout* grid, int column, const QString& caption, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(control);
    grid->addWidget(label, 0, column);
    grid->addWidget(control, 1, column);
}

QWidget* newPage(const char* objectName, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(objectName));
    return page;
}

}  // namespace

TOKBottomDlg4::TOKBottomDlg4(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg4"));
    setWindowTitle(QStringLiteral(" Network training"));
    CentreOnScreen(this);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = newPage("TabSheet1", PageControl1);
    TabSheet2 = newPage("TabSheet2", PageControl1);
    PageControl1->addTab(TabSheet1, QStringLiteral("Error Back Propagation"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Fast Back Propagation"));
    PageControl1->setCurrentIndex(0);

    Edit1 = newEdit("Edit1", QStringLiteral("0.01"), TabSheet1);
    auto* page1 = new QGridLayout(TabSheet1);
    addLabelled(page1, 0, QStringLiteral("Training speed"), Edit1, TabSheet1);
    page1->setColumnStretch(1, 1);
    page1->setRowStretch(2, 1);

    Edit2 = newEdit("Edit2", QStringLiteral("0.01"), TabSheet2);
    Edit4 = newEdit("Edit4", QStringLiteral("0.01"), TabSheet2);
    auto* page2 = new QGridLayout(TabSheet2);
    addLabelled(page2, 0, QStringLiteral("Training speed"), Edit2, TabSheet2);
    addLabelled(page2, 1, QStringLiteral("Momentum"), Edit4, TabSheet2);
    page2->setColumnStretch(2, 1);
    page2->setRowStretch(2, 1);

    Label1 = new QLabel(QStringLiteral("Training dataset"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit3 = newEdit("Edit3", QString(), this);
    Edit3->setEnabled(false);
    Button1 = new QPushButton(QStringLiteral("Browse"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    DataSrc = new QCheckBox(QStringLiteral(" Use data from the editor "), this);
    DataSrc->setObjectName(QStringLiteral("DataSrc"));

    Edit5 = newEdit("Edit5", QStringLiteral("1000000"), this);
    Edit6 = newEdit("Edit6", QStringLiteral("1"), this);
    BufEdit = new QSpinBox(this);
    BufEdit->setObjectName(QStringLiteral("BufEdit"));
    BufEdit->setRange(50, 1000);
    BufEdit->setSingleStep(50);
    BufEdit->setValue(250);
    if (auto* text = BufEdit->findChild<QLineEdit*>())
        text->setReadOnly(true);
    Label2 = new QLabel(QStringLiteral("Buffer"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(BufEdit);

    actStart = new QAction(QStringLiteral("&Start"), this);
    actStart->setObjectName(QStringLiteral("actStart"));
    OKBtn = new QPushButton(actStart->text(), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    OKBtn->setMinimumWidth(80);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    CancelBtn->setMinimumWidth(80);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Edit3, 1);
    fileRow->addWidget(Button1);
    auto* numbers = new QGridLayout;
    numbers->addWidget(new QLabel(QStringLiteral("Iterations"), this), 0, 0);
    numbers->addWidget(Edit5, 1, 0);
    numbers->addWidget(new QLabel(QStringLiteral(" Acceptable error (%)"), this), 0, 1);
    numbers->addWidget(Edit6, 1, 1);
    numbers->addWidget(Label2, 0, 2);
    numbers->addWidget(BufEdit, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(Label1);
    layout->addLayout(fileRow);
    layout->addWidget(DataSrc);
    layout->addSpacing(4);
    layout->addLayout(numbers);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TOKBottomDlg4::Button1Click);
    connect(DataSrc, &QCheckBox::toggled, this, &TOKBottomDlg4::DataSrcClick);
    connect(actStart, &QAction::changed, this, [this] { OKBtn->setEnabled(actStart->isEnabled()); });
    connect(actStart, &QAction::triggered, this, &TOKBottomDlg4::actStartExecute);
    connect(OKBtn, &QPushButton::clicked, actStart, &QAction::trigger);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    DataSrcClick();
    setFixedSize(sizeHint().expandedTo(QSize(400, 0)));
}

bool TOKBottomDlg4::CanStart() const
{
    if (!DataSrc->isChecked())
        return FileChecked;
    if (!editor_)
        return false;
    const TMatrix& inputs = editor_->InputMatrix();
    return inputs.Rows() >= 1 && inputs.Cols() == NetInputs && editor_->OutputMatrix().Cols() == NetOutputs;
}

void TOKBottomDlg4::actStartUpdate()
{
    actStart->setEnabled(CanStart());
}

void TOKBottomDlg4::actStartExecute()
{
    if (CanStart())
        accept();
}

void TOKBottomDlg4::Button1Click()
{
    FileChecked = false;
    const QString name = prompts().openFileName(OpenDialog1Filter);
    if (!name.isEmpty()) {
        std::string reason;
        if (CheckDatasetFile(name.toStdString(), NetInputs, NetOutputs, reason)) {
            Edit3->setText(name);
            FileChecked = true;
        } else {
            prompts().error(name + QStringLiteral(" - ") + QString::fromStdString(reason));
        }
    }
    actStartUpdate();
}

void TOKBottomDlg4::DataSrcClick()
{
    const bool fromEditor = DataSrc->isChecked();
    Button1->setEnabled(!fromEditor);
    // The file name stays visible, on the button face while it is not used.
    QPalette palette = QApplication::palette(Edit3);
    const QColor ground = fromEditor ? palette.color(QPalette::Button) : palette.color(QPalette::Active, QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, ground);
    Edit3->setPalette(palette);
    actStartUpdate();
}

void TOKBottomDlg4::showEvent(QShowEvent* event)
{
    actStartUpdate();
    QDialog::showEvent(event);
}
