#pragma once

#include <unordered_map>

#include <QAbstractTableModel>
#include <QString>

#include "data/xMatrix.h"

// A matrix shown in a grid: texts are formatted when a cell is shown, so the
// grid costs nothing per cell. Texts typed into cells are kept apart, valid or
// not, until the next rebuild shows the matrix's values again. Header data
// are the row and column numbers from 1.
class TMatrixModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TMatrixModel(TMatrix& matrix, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text of element (row, col): the typed one, or the value in the
    // general format.
    QString text(int row, int col) const;
    // Whether the text shown for the element is a number.
    bool isNumber(int row, int col) const;

    // Keeps a typed text for the element; the value is stored when it is a
    // number. Views are not told: the cell editor shows the text meanwhile.
    void setTyped(int row, int col, const QString& text);

    // The typed text of the element, if there is one.
    bool typedText(int row, int col, QString& text) const;
    // Back to an earlier state: the typed text (none when empty) and value.
    void restore(int row, int col, bool typed, const QString& text, Extended value);

    // Forgets the typed texts and takes the matrix's dimensions and values.
    void rebuild();

private:
    std::size_t key(int row, int col) const { return std::size_t(row) * std::size_t(cols_ + 1) + std::size_t(col); }

    TMatrix& matrix_;
    int rows_ = 0;
    int cols_ = 0;
    std::unordered_map<std::size_t, QString> typed_;
};
