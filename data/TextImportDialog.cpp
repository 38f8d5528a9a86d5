#include "data/TextImportDialog.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/TextDataset.h"

namespace {

QString columnRange(int first, int last)
{
    return first == last ? QStringLiteral("column %1").arg(first) : QStringLiteral("columns %1 to %2").arg(first).arg(last);
}

}  // namespace

TTextImportDialog::TTextImportDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TextImportDialog"));
    setWindowTitle(QStringLiteral(" Import text"));
    setSizeGripEnabled(true);

    PreviewText = new QPlainTextEdit(this);
    PreviewText->setObjectName(QStringLiteral("PreviewText"));
    PreviewText->setReadOnly(true);
    PreviewText->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Courier New"), 9);
    fixed.setStyleHint(QFont::Monospace);
    PreviewText->setFont(fixed);

    ColumnsLabel = new QLabel(this);
    ColumnsLabel->setObjectName(QStringLiteral("ColumnsLabel"));
    OutputsEdit = new QSpinBox(this);
    OutputsEdit->setObjectName(QStringLiteral("OutputsEdit"));
    auto* outputsCaption = new QLabel(QStringLiteral("&Output columns, the last of each line:"), this);
    outputsCaption->setBuddy(OutputsEdit);
    SplitLabel = new QLabel(this);
    SplitLabel->setObjectName(QStringLiteral("SplitLabel"));

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(OutputsEdit, &QSpinBox::valueChanged, this, [this] { showSplit(); });

    auto* outputsRow = new QHBoxLayout;
    outputsRow->addWidget(outputsCaption);
    outputsRow->addWidget(OutputsEdit);
    outputsRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The file's first lines:"), this));
    layout->addWidget(PreviewText, 1);
    layout->addWidget(ColumnsLabel);
    layout->addLayout(outputsRow);
    layout->addWidget(SplitLabel);
    layout->addLayout(buttons);
    resize(520, 340);
}

void TTextImportDialog::SetTable(const TTextTable& table, int outputColumns)
{
    columns_ = std::max(table.ColumnCount, 2);
    QStringList lines;
    for (const std::string& line : table.FirstLines)
        lines << QString::fromUtf8(line.data(), qsizetype(line.size()));
    PreviewText->setPlainText(lines.join(QLatin1Char('\n')));
    QString counts = QStringLiteral("%1 columns, %2 lines of values").arg(table.ColumnCount).arg(table.RowCount);
    if (!table.ColumnNames.empty())
        counts += QStringLiteral("; the first line, of column names, is skipped");
    ColumnsLabel->setText(counts);
    OutputsEdit->setRange(1, columns_ - 1);
    OutputsEdit->setValue(std::clamp(outputColumns, 1, columns_ - 1));
    showSplit();
}

int TTextImportDialog::OutputColumns() const
{
    return OutputsEdit->value();
}

void TTextImportDialog::showSplit()
{
    const int inputs = columns_ - OutputsEdit->value();
    SplitLabel->setText(QStringLiteral("Inputs: %1; outputs: %2")
                            .arg(columnRange(1, inputs), columnRange(inputs + 1, columns_)));
}
