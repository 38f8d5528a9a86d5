#include "analysis/ProfilerDialog.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/ChartParts.h"
#include "data/NumberText.h"
#include "platform/Platform.h"
#include "platform/QtPlatform.h"
#include "platform/gui/Prompts.h"
#include "platform/gui/ScreenPlacement.h"
#include "workbench/DialogParts.h"

namespace {

// Pending events are processed at most this often, so that the pauses
// between tests stay short beside a small network's tests.
constexpr double kPumpIntervalMs = 5;

QLineEdit* newResultField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    QPalette grey = field->palette();
    grey.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
    field->setPalette(grey);
    return field;
}

}  // namespace

TOKBottomDlg7::TOKBottomDlg7(QWidget* parent) : QDialog(parent), Clock(platform::PreciseMilliseconds)
{
    setObjectName(QStringLiteral("OKBottomDlg7"));
    setWindowTitle(QStringLiteral(" Network perfromance profiler "));
    CentreOnScreen(this);
    setSizeGripEnabled(true);

    Chart1 = NewChartView(this, QStringLiteral("Chart1"), QStringLiteral("Test"),
                          QStringLiteral("ms per evaluation"));
    Chart1->chart()->setTitle(QStringLiteral("Calculation Time (ms)"));
    Chart1->setRubberBand(QChartView::RectangleRubberBand);
    Series1 = new QLineSeries(Chart1->chart());
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setColor(Qt::red);
    AddToAxes(*Chart1->chart(), Series1);

    Edit1 = new QLineEdit(QStringLiteral(" 1000"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = newResultField(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = newResultField(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    // A reset bar stands one below its minimum of 1: at 0.
    ProgressBar1->setRange(1, 100);
    ProgressBar1->reset();
    ProgressBar1->setTextVisible(false);

    Button1 = new QPushButton(QStringLiteral("Start tests"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setMinimumWidth(80);
    connect(Button1, &QPushButton::clicked, this, [this] { RunReporting([this] { Button1Click(); }); });
    OKBtn = NewOkButton(this, QStringLiteral("Close"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));

    auto* fields = new QGridLayout;
    fields->addWidget(NewCaption(QStringLiteral("Number of tests"), Edit1, this), 0, 0);
    fields->addWidget(NewCaption(QStringLiteral("Average time [ms]"), Edit2, this), 0, 1);
    fields->addWidget(NewCaption(QStringLiteral("Standard deviation"), Edit3, this), 0, 2);
    fields->addWidget(Edit1, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(Edit3, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Chart1, 1);
    layout->addLayout(fields);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    resize(457, 387);
}

void TOKBottomDlg7::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Button1->setFocus();
}

void TOKBottomDlg7::reject()
{
    // Closing mid-run would leave the tests running behind a hidden dialog.
    if (!running_)
        QDialog::reject();
}

void TOKBottomDlg7::Button1Click()
{
    Button1->setEnabled(false);
    OKBtn->setEnabled(false);
    running_ = true;
    struct Restore {
        TOKBottomDlg7* dialog;
        ~Restore()
        {
            dialog->running_ = false;
            dialog->Button1->setEnabled(true);
            dialog->OKBtn->setEnabled(true);
        }
    } restore{this};
    runTests();
}

void TOKBottomDlg7::runTests()
{
    std::string replacement;
    const int count = ClampTestCount(ParseInteger(Edit1->text().toStdString()), replacement);
    if (!replacement.empty())
        Edit1->setText(QString::fromStdString(replacement));
    Edit2->clear();
    Edit3->clear();
    Series1->clear();
    ProgressBar1->setRange(1, count);
    ProgressBar1->reset();
    if (!Net)
        return;

    double lastPump = platform::PreciseMilliseconds();
    Times = RunProfilerTests(*Net, count, Clock, [&](int done) {
        ProgressBar1->setValue(done);
        double now = platform::PreciseMilliseconds();
        if (now - lastPump >= kPumpIntervalMs || done == count) {
            QCoreApplication::processEvents();
            lastPump = now;
        }
    });
    ProgressBar1->reset();
    showResults();
    platform::Beep();
}

void TOKBottomDlg7::showResults()
{
    PlotPoints points = TimeSeries(Times);
    Series1->replace(ToChartPoints(points));
    PlotBounds bounds;
    bounds.Include(points);
    bounds.Include(PlotPoint{0, 0});
    FitAxes(*Chart1->chart(), bounds);

    ProfileSummary summary = SummarizeTimes(Times);
    Edit2->setText(QString::fromStdString(MeanTimeText(summary.Mean)));
    Edit3->setText(QString::fromStdString(DeviationText(summary.Deviation)));
}
