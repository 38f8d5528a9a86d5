#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

class QBoxLayout;
class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

// Pieces the network editing dialogs share.

// A spin edit changed only by its arrows (and the arrow keys), never typed into.
QSpinBox* NewArrowSpinEdit(QWidget* parent, int minimum, int maximum);

// A drop-down list of the activation functions; the item index is the code.
QComboBox* NewActivationCombo(QWidget* parent);

// A caption above its control.
QLabel* NewCaption(const QString& text, QWidget* buddy, QWidget* parent);

// The right-aligned row of buttons at the bottom of a dialog.
QBoxLayout* NewButtonRow(QPushButton* first, QPushButton* second = nullptr);

// OK (default, Enter) and Cancel (Esc) wired to accept and reject.
QPushButton* NewOkButton(QDialog* dialog, const QString& text = QStringLiteral("OK"));
QPushButton* NewCancelButton(QDialog* dialog);

// Enabled with the normal text-field ground, or disabled on the dialog's colour.
void SetFieldEnabled(QLineEdit& field, bool enabled);

// The fixed-pitch grid font.
QFont GridFont();

// A row number of the input and output grids: a blank, then the number.
QString RowNumberText(int number);
