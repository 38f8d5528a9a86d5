#pragma once

#include <QDialog>

class QPushButton;

// The about box: program icon and name, version and a Close button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OKBtn;  // "Close"
};
