#include "data/CountEdit.h"

#include <algorithm>
#include <climits>

TCountEdit::TCountEdit(QWidget* parent) : QSpinBox(parent)
{
    // The range the person may type in; the arrows and the end of editing
    // keep the count within 1 .. kMost.
    setRange(0, INT_MAX);
    setValue(1);
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] { setCount(value()); });
}

void TCountEdit::setCount(int count) { setValue(std::clamp(count, 1, kMost)); }

void TCountEdit::stepBy(int steps)
{
    const long long stepped = static_cast<long long>(std::clamp(value(), 1, kMost)) + steps;
    setCount(static_cast<int>(std::clamp<long long>(stepped, 1, kMost)));
}
