#pragma once

#include <QDialog>

#include "data/xMatrix.h"

// The training data editor: holds the program's dataset, one row per pair in
// an input matrix and an output matrix with the same number of rows.
class TDataForm : public QDialog {
    Q_OBJECT
public:
    explicit TDataForm(QWidget* parent = nullptr);

    TMatrix& InputMatrix() { return inputs_; }
    TMatrix& OutputMatrix() { return outputs_; }

private:
    TMatrix inputs_{1, 1};
    TMatrix outputs_{1, 1};
};
