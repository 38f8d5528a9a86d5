#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include "data/NumberText.h"
#include "data/StringGrid.h"
#include "engine/Extended.h"
#include "platform/gui/Prompts.h"
#include "workbench/AddLayerDialog.h"
#include "workbench/DialogParts.h"
#include "workbench/InputVectorDialog.h"
#include "workbench/LayerDialog.h"
#include "workbench/OutputsDialog.h"
#include "workbench/RadioGroup.h"
#include "workbench/Unit1.h"

namespace {

std::int32_t parseInteger(const QString& text)
{
    return ParseInteger(text.toStdString());
}

// A real number typed into a field, as the double it is stored as.
double parseReal(const QString& text)
{
    return NarrowToDouble(ParseFloat(text.toStdString()));
}

QString shortScientific(double value)
{
    return QString::fromStdString(FormatShortScientific(value));
}

QString general(double value)
{
    return QString::fromStdString(FormatGeneral(value));
}

}  // namespace

void TForm1::NewNet1Click()
{
    if (Training)
        return;
    QString text = QString::number(Net->InputCount());
    if (!prompts().inputQuery(QStringLiteral(" Nerual Network"), QStringLiteral("Number of inputs"), text))
        return;
    int inputs = parseInteger(text);
    Net = std::make_unique<TNeuroNet>(inputs);
    N3->setEnabled(false);
    RedrawDiagram();
    FileName = kUntitledFileName;
    setCaption(QString());
}

void TForm1::AddLayer1Click()
{
    if (Training)
        return;
    TOKBottomDlg& dlg = *OKBottomDlg;
    if (!prompts().runModal(dlg))
        return;
    // Every range is read, even one whose group is disabled.
    TLayerParams params;
    params.WeightFrom = parseReal(dlg.Edit1->text());
    params.WeightTo = parseReal(dlg.Edit2->text());
    params.BiasFrom = parseReal(dlg.Edit3->text());
    params.BiasTo = parseReal(dlg.Edit4->text());
    params.WeightInit = dlg.RadioGroup1->itemIndex();
    params.BiasInit = dlg.RadioGroup2->itemIndex();
    params.Activation = dlg.ComboBox1->currentIndex();
    Net->AddLayer(dlg.SpinEdit1->value(), params);
    N3->setEnabled(true);
    RedrawDiagram();
}

void TForm1::N3Click()
{
    if (Training)
        return;
    QString text = QString::number(Net->LayerCount());
    if (!prompts().inputQuery(QStringLiteral(" Layer editing"), QStringLiteral("Input layer number"), text))
        return;
    int L = parseInteger(text);
    if (L >= 1 && L <= Net->LayerCount())
        EditLayer(L);
}

void TForm1::InputVector1Click()
{
    if (Training)
        return;
    EditInputVector();
}

void TForm1::EditLayer(int L)
{
    TOKBottomDlg2& dlg = *OKBottomDlg2;
    {
        const TLayer& layer = Net->Layer(L);
        dlg.SpinEdit1->setValue(layer.NeuronCount());
        dlg.setWindowTitle(QStringLiteral(" Layer %1").arg(L));
        int activation = layer.Params.Activation;
        dlg.ComboBox1->setCurrentIndex(activation >= 0 && activation < dlg.ComboBox1->count() ? activation : -1);
        setGridSize(*dlg.StringGrid1, layer.InputCount() + 1, layer.NeuronCount() + 1);
        setGridSize(*dlg.StringGrid2, 2, layer.NeuronCount());
        const GridFill weights(*dlg.StringGrid1);
        const GridFill biases(*dlg.StringGrid2);
        for (int k = 1; k <= layer.InputCount(); ++k)
            setCellText(*dlg.StringGrid1, k, 0, QString::number(k));
        for (int n = 1; n <= layer.NeuronCount(); ++n) {
            setCellText(*dlg.StringGrid1, 0, n, QString::number(n));
            setCellText(*dlg.StringGrid2, 0, n - 1, QString::number(n));
            setCellText(*dlg.StringGrid2, 1, n - 1, shortScientific(layer.Bias[n - 1]));
            for (int k = 1; k <= layer.InputCount(); ++k)
                setCellText(*dlg.StringGrid1, k, n, shortScientific(layer.Weight(n - 1, k - 1)));
        }
    }
    if (!prompts().runModal(dlg))
        return;

    TLayer& layer = Net->Layer(L);
    // An activation code the list does not hold (from a file) stays as it was.
    if (dlg.ComboBox1->currentIndex() >= 0)
        layer.Params.Activation = dlg.ComboBox1->currentIndex();
    if (dlg.SpinEdit1->value() != layer.NeuronCount())
        Net->SetLayerSize(L, dlg.SpinEdit1->value());
    // Cleared before the transfer: a bad cell ends it with some values already
    // written, and the cached outputs no longer belong to the weights.
    Net->Evaluated = false;
    for (int n = 1; n <= layer.NeuronCount(); ++n) {
        layer.Bias[n - 1] = parseReal(cellText(*dlg.StringGrid2, 1, n - 1));
        for (int k = 1; k <= layer.InputCount(); ++k)
            layer.Weight(n - 1, k - 1) = parseReal(cellText(*dlg.StringGrid1, k, n));
    }
    RedrawDiagram();
}

void TForm1::EditInputVector()
{
    TOKBottomDlg1& dlg = *OKBottomDlg1;
    int count = Net->InputCount();
    setGridSize(*dlg.StringGrid1, 2, count);
    dlg.SpinEdit1->setValue(count);
    {
        const GridFill fill(*dlg.StringGrid1);
        for (int r = 0; r < count; ++r) {
            setCellText(*dlg.StringGrid1, 1, r, general(Net->Inputs[r]));
            setCellText(*dlg.StringGrid1, 0, r, RowNumberText(r + 1));
        }
    }
    if (!prompts().runModal(dlg))
        return;

    if (dlg.SpinEdit1->value() != Net->InputCount())
        Net->SetInputCount(dlg.SpinEdit1->value());
    // The values typed are the inputs as stored: no input scaling.
    Net->Evaluated = false;
    for (int r = 0; r < Net->InputCount(); ++r)
        Net->Inputs[r] = parseReal(cellText(*dlg.StringGrid1, 1, r));
    Net->Evaluate();
    RedrawDiagram();
}

void TForm1::ShowOutputs()
{
    // A failed evaluation is not reported here; the labels' colour shows it.
    Net->Evaluate();
    TOKBottomDlg3& dlg = *OKBottomDlg3;
    setGridSize(*dlg.StringGrid1, 2, Net->OutputCount());
    {
        const GridFill fill(*dlg.StringGrid1);
        for (int r = 0; r < Net->OutputCount(); ++r) {
            setCellText(*dlg.StringGrid1, 0, r, RowNumberText(r + 1));
            setCellText(*dlg.StringGrid1, 1, r, general(Net->Outputs[r]));
        }
    }
    prompts().runModal(dlg);
    if (NumberLabels1->isChecked())
        RedrawDiagram();
}
