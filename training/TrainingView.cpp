#include "training/TrainingView.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QValueAxis>

#include "data/NumberText.h"
#include "training/ProgressWindow.h"

namespace {

QString general(double value)
{
    return QStringLiteral(" ") + QString::fromStdString(FormatGeneral(value));
}

// Both ends of the range, widened a little when they meet so the axis stays usable.
void setAxisRange(QValueAxis* axis, double low, double high)
{
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

}  // namespace

TTrainingView::TTrainingView(TForm7& window, QLabel* iterationsPanel, QLabel* errorPanel)
    : window_(window), iterationsPanel_(iterationsPanel), errorPanel_(errorPanel)
{
}

void TTrainingView::Pump()
{
    if (sincePump_.isValid() && sincePump_.elapsed() < kPumpIntervalMs)
        return;
    Flush();
    QCoreApplication::processEvents();
    sincePump_.start();
}

void TTrainingView::Display(const TWindowSummary& summary)
{
    maximum_.append(QPointF(summary.Iterations, summary.WindowMax));
    average_.append(QPointF(summary.Iterations, summary.Average));
    deviation_.append(QPointF(summary.Iterations, summary.Deviation));
    errorAxisTop_ = std::max({errorAxisTop_, summary.WindowMax, summary.Average, summary.Deviation});
    last_.Iterations = summary.Iterations;
    last_.WindowMax = summary.WindowMax;
    last_.Average = summary.Average;
    last_.Deviation = summary.Deviation;
    last_.Titles = summary.Titles;
    last_.Percents.assign(summary.Percents.begin(), summary.Percents.end());
    last_.PercentMin = summary.PercentMin;
    last_.PercentMax = summary.PercentMax;
    pending_ = true;
}

void TTrainingView::Flush()
{
    if (!pending_)
        return;
    pending_ = false;
    window_.Edit1->setText(QStringLiteral(" %1").arg(last_.Iterations));
    window_.Edit2->setText(general(last_.WindowMax));
    window_.MeanEdit->setText(general(last_.Average));
    window_.RMSEdit->setText(general(last_.Deviation));

    window_.Series1->append(maximum_);
    window_.Series2->append(average_);
    window_.Series3->append(deviation_);
    maximum_.clear();
    average_.clear();
    deviation_.clear();
    setAxisRange(window_.EpochAxis, 0, last_.Iterations);
    setAxisRange(window_.ErrorAxis, 0, errorAxisTop_);

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
        series->setName(QString::fromStdString(last_.Titles[s]));
        const QListWidgetItem* item = window_.OutList->item(s);
        series->setVisible(item && item->checkState() == Qt::Checked);
    }
    setAxisRange(window_.PatternAxis, 1, patterns);
    setAxisRange(window_.RelativeErrorAxis, last_.PercentMin, last_.PercentMax);
}
