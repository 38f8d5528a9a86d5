#include "data/uData.h"

TDataForm::TDataForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DataForm"));
    setWindowTitle(QStringLiteral("Training data editor"));
}
