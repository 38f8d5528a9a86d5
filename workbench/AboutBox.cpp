#include "workbench/AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"
#include "workbench/ToolbarIcons.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral(" About"));
    CentreOnScreen(this);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Corvalith"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    auto* version = new QLabel(QStringLiteral("Version 1.6"), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* comments = new QLabel(QStringLiteral("(Perceptrons)"), this);
    comments->setObjectName(QStringLiteral("Comments"));

    OKBtn = NewOkButton(this, QStringLiteral("Close"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addSpacing(4);
    texts->addWidget(version);
    texts->addWidget(comments);
    texts->addStretch(1);
    auto* panel = new QHBoxLayout;
    panel->addWidget(icon);
    panel->addSpacing(12);
    panel->addLayout(texts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(panel, 1);
    layout->addSpacing(12);
    layout->addLayout(NewButtonRow(OKBtn));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addStrut(300);
}
