#include "workbench/DialogParts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "engine/Neuran.h"


QSpinBox* NewArrowSpinEdit(QWidget* parent, int minimum, int maximum)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setValue(minimum);
    if (auto* text = spin->findChild<QLineEdit*>())
        text->setReadOnly(true);
    spin->setMinimumWidth(72);
    return spin;
}

QComboBox* NewActivationCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (std::string_view name : ActivationNames)
        combo->addItem(QString::fromLatin1(name.data(), qsizetype(name.size())));
    combo->setCurrentIndex(0);
    return combo;
}

QLabel* NewCaption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QBoxLayout* NewButtonRow(QPushButton* first, QPushButton* second)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(first);
    if (second)
        row->addWidget(second);
    return row;
}

QPushButton* NewOkButton(QDialog* dialog, const QString& text)
{
    auto* button = new QPushButton(text, dialog);
    button->setDefault(true);
    button->setAutoDefault(true);
    button->setMinimumWidth(80);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

QPushButton* NewCancelButton(QDialog* dialog)
{
    // Esc reaches QDialog::reject by itself.
    auto* button = new QPushButton(QStringLiteral("Cancel"), dialog);
    button->setAutoDefault(false);
    button->setMinimumWidth(80);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

void SetFieldEnabled(QLineEdit& field, bool enabled)
{
    field.setEnabled(enabled);
    QPalette palette = QApplication::palette(&field);
    if (!enabled) {
        const QColor dialogColour = field.window()->palette().color(QPalette::Window);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, dialogColour);
    }
    field.setPalette(palette);
}

QFont GridFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    return font;
}

QString RowNumberText(int number) { return QStringLiteral(" %1").arg(number); }
