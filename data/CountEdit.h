#pragma once

#include <QSpinBox>

// A count edited with arrows or typed digits, kept within 1 .. 1000. A larger
// number typed in is taken as it is typed (the owner reads every text) and
// brought back to 1000 when editing ends.
class TCountEdit : public QSpinBox {
    Q_OBJECT
public:
    static constexpr int kMost = 1000;

    explicit TCountEdit(QWidget* parent);

    // Shows the count limited to 1 .. kMost.
    void setCount(int count);
    void stepBy(int steps) override;
};
