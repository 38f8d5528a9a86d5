#include "training/ProgressWindow.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QValueAxis>
#include <QVBoxLayout>

#include "data/NumberText.h"
#include "platform/gui/ScreenPlacement.h"

namespace {

const QColor kChartBackground(192, 220, 192);

QLineSeries* newSeries(const char* objectName, const QString& title, const QColor& colour)
{
    auto* series = new QLineSeries;
    series->setObjectName(QString::fromLatin1(objectName));
    series->setName(title);
    QPen pen(colour);
    pen.setWidth(2);
    series->setPen(pen);
    return series;
}

QValueAxis* newAxis(const QString& title, const char* format)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QString::fromLatin1(format));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(0.2);
    axis->setRange(0, 1);
    return axis;
}

// A read-only number on the button face, its caption above it.
QWidget* labelledReadOnly(const QString& caption, QLineEdit*& edit, const char* objectName, QWidget* parent)
{
    auto* box = new QWidget(parent);
    edit = new QLineEdit(box);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
    // Room at least for a blank, a sign and 15 digits with their point; wider
    // with the window, for the exponent of the smallest errors.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral(" -0.00000000000000")) + 12);
    auto* label = new QLabel(caption, box);
    label->setBuddy(edit);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(label);
    column->addWidget(edit);
    return box;
}

}  // namespace

TForm7::TForm7(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Network training"));
    setModal(false);

    GraphPanel = new QWidget(this);
    GraphPanel->setObjectName(QStringLiteral("GraphPanel"));

    Series1 = newSeries("Series1", QStringLiteral("Maximum"), QColor(255, 0, 0));
    Series2 = newSeries("Series2", QStringLiteral("Average"), QColor(0, 128, 0));
    Series3 = newSeries("Series3", QStringLiteral("Deviation"), QColor(255, 255, 0));
    QChart* errors = newChart(QStringLiteral("Errors (%)"));
    EpochAxis = newAxis(QStringLiteral("Epochs"), "%.0f");
    ErrorAxis = newAxis(QString(), "%g");
    errors->addAxis(EpochAxis, Qt::AlignBottom);
    errors->addAxis(ErrorAxis, Qt::AlignLeft);
    for (QLineSeries* series : {Series1, Series2, Series3}) {
        errors->addSeries(series);
        series->attachAxis(EpochAxis);
        series->attachAxis(ErrorAxis);
    }
    errors->legend()->setAlignment(Qt::AlignRight);
    Chart1 = new QChartView(errors);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setMinimumHeight(32);

    LPanel = new QWidget;
    LPanel->setObjectName(QStringLiteral("LPanel"));
    OutList = new QListWidget(LPanel);
    OutList->setObjectName(QStringLiteral("OutList"));
    QChart* relative = newChart(QStringLiteral("Relative Errors (%)"));
    PatternAxis = newAxis(QStringLiteral("Pattern"), "%.0f");
    RelativeErrorAxis = newAxis(QString(), "%g");
    relative->addAxis(PatternAxis, Qt::AlignBottom);
    relative->addAxis(RelativeErrorAxis, Qt::AlignLeft);
    relative->legend()->setAlignment(Qt::AlignRight);
    // Fixed pitch, so the padded figures of the titles line up.
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(9);
    relative->legend()->setFont(fixed);
    Chart2 = new QChartView(relative, LPanel);
    Chart2->setObjectName(QStringLiteral("Chart2"));

    Splitter2 = new QSplitter(Qt::Horizontal, LPanel);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(7);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(OutList);
    Splitter2->addWidget(Chart2);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({96, 600});
    auto* lpanelLayout = new QHBoxLayout(LPanel);
    lpanelLayout->setContentsMargins(0, 0, 0, 0);
    lpanelLayout->addWidget(Splitter2);

    Splitter1 = new QSplitter(Qt::Vertical, GraphPanel);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(6);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Chart1);
    Splitter1->addWidget(LPanel);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({161, 260});
    auto* graphLayout = new QVBoxLayout(GraphPanel);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    graphLayout->addWidget(Splitter1);

    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setMinimumWidth(80);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    OutcomeLabel = new QLabel(this);
    OutcomeLabel->setObjectName(QStringLiteral("OutcomeLabel"));
    OutcomeLabel->setWordWrap(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(labelledReadOnly(QStringLiteral("Iterations"), Edit1, "Edit1", this), 1, Qt::AlignBottom);
    bottom->addWidget(labelledReadOnly(QStringLiteral("Maximum Error (%)"), Edit2, "Edit2", this), 1, Qt::AlignBottom);
    bottom->addWidget(labelledReadOnly(QStringLiteral("Average Error (%)"), MeanEdit, "MeanEdit", this), 1, Qt::AlignBottom);
    bottom->addWidget(labelledReadOnly(QStringLiteral("Standard Deviation (%)"), RMSEdit, "RMSEdit", this), 1, Qt::AlignBottom);
    bottom->addSpacing(12);
    bottom->addWidget(Button1, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 8, 4);
    layout->addWidget(GraphPanel, 1);
    layout->addLayout(bottom);
    layout->addWidget(OutcomeLabel);

    setMinimumSize(640, 480);
    resize(708, 499);
    // Centred once; where the person moves it, it stays from run to run.
    const QRect area = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    if (area.isValid())
        setGeometry(PlaceInArea(size(), QMargins(), area));
    StopState = 0;
}

QChart* TForm7::newChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setBackgroundBrush(kChartBackground);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setVisible(true);
    return chart;
}

void TForm7::BeginRun(const QString& caption)
{
    setWindowTitle(caption);
    for (QLineSeries* series : {Series1, Series2, Series3})
        series->clear();
    OutcomeLabel->clear();
    Button1->setText(QStringLiteral("Stop"));
    show();
    StopState = 0;
}

void TForm7::SetOutputs(int count)
{
    OutList->clear();
    QChart* chart = Chart2->chart();
    chart->removeAllSeries();
    for (int k = 1; k <= count; ++k) {
        auto* item = new QListWidgetItem(QStringLiteral(" Output %1").arg(k), OutList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        auto* series = new QLineSeries;
        series->setName(QStringLiteral("Output %1").arg(k));
        chart->addSeries(series);
        series->attachAxis(PatternAxis);
        series->attachAxis(RelativeErrorAxis);
    }
}

QLineSeries* TForm7::OutputSeries(int index) const
{
    const QList<QAbstractSeries*> all = Chart2->chart()->series();
    return index >= 0 && index < all.size() ? static_cast<QLineSeries*>(all[index]) : nullptr;
}

void TForm7::EndRun(int iterations, double epochMaxError, const QString& outcome)
{
    Edit1->setText(QStringLiteral(" %1").arg(iterations));
    Edit2->setText(QStringLiteral(" ") + QString::fromStdString(FormatGeneral(100.0L * epochMaxError)));
    Edit2->setCursorPosition(0);
    Button1->setText(QStringLiteral("Close"));
    OutcomeLabel->setText(outcome);
    repaint();
}

void TForm7::Button1Click()
{
    if (Button1->text() == QStringLiteral("Stop"))
        StopState = 1;
    else
        hide();
}

void TForm7::FormActivate()
{
    Series1->clear();
    emit MaximumEmptied();
}

bool TForm7::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}
