#include "training/TrainingView.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QValueAxis>

#include "data/NumberText.h"
#include "training/ChartScale.h"
#include "training/ProgressWindow.h"

namespace {

QString general(double value)
{
    return QStringLiteral(" ") + QString::fromStdString(FormatGeneral(value));
}

// Every change of an axis redraws each series on it, so the range changes
// only when its rounded ends do. Ticks fall on whole steps from 0. The axis
// makes a label for every tick at once, so a wide range never meets a
// narrow step, not even between the two calls.
void setAxisRange(QValueAxis* axis, double low, double high, double minStep = 0)
{
    const TAxisRange range = NiceRange(low, high, minStep);
    if (axis->min() == range.Min && axis->max() == range.Max && axis->tickInterval() == range.Step)
        return;
    if (range.Step >= axis->tickInterval()) {
        axis->setTickInterval(range.Step);
        axis->setRange(range.Min, range.Max);
    } else {
        axis->setRange(range.Min, range.Max);
        axis->setTickInterval(range.Step);
    }
}

// The legend draws names as rich text, which would run the blanks that line
// the figures up into one.
QString legendText(const std::string& title)
{
    QString text = QString::fromStdString(title);
    text.replace(QLatin1Char(' '), QChar(0x00A0));
    return text;
}

void setNumber(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    edit->setCursorPosition(0);  // the leading digits, when the edit is too narrow for all
}

// Appending a list adds its points one by one, each redrawing the whole
// line; replacing redraws it once.
void appendAll(QLineSeries* series, QList<QPointF>& points)
{
    QList<QPointF> all = series->points();
    all.append(points);
    series->replace(all);
    points.clear();
}

}  // namespace

TTrainingView::TTrainingView(TForm7& window, QLabel* iterationsPanel, QLabel* errorPanel)
    : window_(window), iterationsPanel_(iterationsPanel), errorPanel_(errorPanel)
{
    // A run shorter than the interval draws its charts once, at its end.
    sinceFlush_.start();
    // The kept windows ended before the window was activated: their points
    // count as shown, and go with the rest.
    emptied_ = QObject::connect(&window_, &TForm7::MaximumEmptied, [this] {
        maximum_.clear();
        maximumTop_ = keptMaximumTop_ = 0;
        setAxisRange(window_.ErrorAxis, 0, otherTop_);
    });
}

TTrainingView::~TTrainingView()
{
    QObject::disconnect(emptied_);
}

void TTrainingView::Pump()
{
    if (!pumpGate_.Due())
        return;
    if (sinceFlush_.elapsed() >= kDisplayIntervalMs)
        Flush();
    QCoreApplication::processEvents();
}

void TTrainingView::Display(const TWindowSummary& summary)
{
    maximum_.append(QPointF(summary.Iterations, summary.WindowMax));
    average_.append(QPointF(summary.Iterations, summary.Average));
    deviation_.append(QPointF(summary.Iterations, summary.Deviation));
    keptMaximumTop_ = std::max(keptMaximumTop_, summary.WindowMax);
    otherTop_ = std::max({otherTop_, summary.Average, summary.Deviation});
    last_.Iterations = summary.Iterations;
    last_.WindowMax = summary.WindowMax;
    last_.Average = summary.Average;
    last_.Deviation = summary.Deviation;
    last_.Titles = summary.Titles;
    last_.Percents.assign(summary.Percents.begin(), summary.Percents.end());
    last_.PercentMin = summary.PercentMin;
    last_.PercentMax = summary.PercentMax;
    shown_.assign(summary.Titles.size(), false);
    for (int s = 0; s < int(shown_.size()) && s < window_.OutList->count(); ++s)
        shown_[s] = window_.OutList->item(s)->checkState() == Qt::Checked;
    pending_ = true;
}

void TTrainingView::Flush()
{
    if (!pending_)
        return;
    pending_ = false;
    sinceFlush_.start();
    setNumber(window_.Edit1, QStringLiteral(" %1").arg(last_.Iterations));
    setNumber(window_.Edit2, general(last_.WindowMax));
    setNumber(window_.MeanEdit, general(last_.Average));
    setNumber(window_.RMSEdit, general(last_.Deviation));

    maximumTop_ = std::max(maximumTop_, keptMaximumTop_);
    keptMaximumTop_ = 0;
    appendAll(window_.Series1, maximum_);
    appendAll(window_.Series2, average_);
    appendAll(window_.Series3, deviation_);
    setAxisRange(window_.EpochAxis, 0, last_.Iterations, 1);
    setAxisRange(window_.ErrorAxis, 0, std::max(maximumTop_, otherTop_));

    if (iterationsPanel_)
        iterationsPanel_->setText(QStringLiteral(" %1").arg(last_.Iterations));
    if (errorPanel_)
        errorPanel_->setText(general(last_.WindowMax));

    const int patterns = last_.PatternCount();
    QList<QPointF> points(patterns);
    for (int s = 0; s < int(last_.Titles.size()); ++s) {
        QLineSeries* series = window_.OutputSeries(s);
        if (!series)
            continue;
        const double* percent = last_.Percents.data() + std::size_t(s) * patterns;
        for (int p = 0; p < patterns; ++p)
            points[p] = QPointF(p + 1, percent[p]);
        series->replace(points);
        const QString title = legendText(last_.Titles[s]);
        if (series->name() != title)
            series->setName(title);
        if (series->isVisible() != shown_[s])
            series->setVisible(shown_[s]);
    }
    setAxisRange(window_.PatternAxis, 1, patterns, 1);
    setAxisRange(window_.RelativeErrorAxis, last_.PercentMin, last_.PercentMax);
}
