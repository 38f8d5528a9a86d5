#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A framed group of radio buttons chosen by index. clicked() follows every
// change of the index, by the user or by setItemIndex.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const;

signals:
    void clicked();

private:
    QButtonGroup* buttons_;
};
