#include "shell/sensor/TempChartView.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMinChartHeight = 220;
constexpr qint64 kMinSpanMs = 1000;      // the time axis spans at least a second
constexpr qint64 kEmptySpanMs = 30'000;  // the empty chart's time axis
constexpr int kTimeTicks = 6;
}  // namespace

CTempChartView::CTempChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(kMinChartHeight);
    QChart* c = chart();
    c->legend()->hide();
    axisX_ = new QDateTimeAxis(c);
    axisY_ = new QValueAxis(c);
    axisX_->setObjectName("axisX");
    axisY_->setObjectName("axisY");
    axisX_->setFormat(QString::fromLatin1(kTimeFormat));
    axisX_->setTickCount(kTimeTicks);
    c->addAxis(axisX_, Qt::AlignBottom);
    c->addAxis(axisY_, Qt::AlignLeft);
    const QDateTime now = QDateTime::currentDateTime();
    axisX_->setRange(now, now.addMSecs(kEmptySpanMs));
    axisY_->setRange(rtu::TempChart::kLowMark, rtu::TempChart::kHighMark);
    points_ = new QScatterSeries(c);
    points_->setMarkerSize(kCreatedPointSize);
    c->addSeries(points_);
    points_->attachAxis(axisX_);
    points_->attachAxis(axisY_);
    AddLine();
}

void CTempChartView::ClearSeries()
{
    QChart* c = chart();
    for (QLineSeries* old : lines_) {
        c->removeSeries(old);
        delete old;
    }
    lines_.clear();
    points_->clear();
}

QLineSeries* CTempChartView::AddLine()
{
    auto* line = new QLineSeries(chart());
    chart()->addSeries(line);
    line->attachAxis(axisX_);
    line->attachAxis(axisY_);
    lines_.append(line);
    return line;
}

void CTempChartView::Draw(const rtu::TempChart& drawn)
{
    points_->setMarkerSize(kPointSize);
    chart()->setTitle(QString::fromStdString(drawn.title));
    if (drawn.points.empty()) return ClearSeries();
    axisY_->setRange(drawn.yMin, drawn.yMax);
    QList<QPointF> points;
    QList<QList<QPointF>> runs(1);
    std::size_t nextBreak = 0;
    for (std::size_t i = 0; i < drawn.points.size(); ++i) {
        if (nextBreak < drawn.breaks.size() && drawn.breaks[nextBreak] == i) {
            ++nextBreak;
            if (!runs.back().isEmpty()) runs.append(QList<QPointF>());
        }
        const QString text = i < drawn.times.size() ? QString::fromStdString(drawn.times[i]) : QString();
        const QDateTime at = QDateTime::fromString(text, QString::fromLatin1(kRowTimeFormat));
        if (!at.isValid()) continue;
        const auto x = static_cast<double>(at.toMSecsSinceEpoch());
        points.append(QPointF(x, drawn.points[i].second));
        runs.back().append(QPointF(x, drawn.line[i].second));
    }
    points_->replace(points);
    // The line series of the last draw are refilled (a live chart redraws several times a
    // second); only a change in the number of runs adds or removes one.
    runs.removeIf([](const QList<QPointF>& run) { return run.isEmpty(); });
    while (lines_.size() > runs.size()) {
        QLineSeries* extra = lines_.takeLast();
        chart()->removeSeries(extra);
        delete extra;
    }
    for (qsizetype i = 0; i < runs.size(); ++i) (i < lines_.size() ? lines_[i] : AddLine())->replace(runs[i]);
    FitX();
}

void CTempChartView::FitX()
{
    const QList<QPointF> shown = points_->points();
    if (shown.isEmpty()) return;  // the axis keeps its last range
    const qsizetype first = autoFit_ ? 0 : std::max<qsizetype>(0, shown.size() - kFixedPoints);
    double low = shown[first].x(), high = low;
    for (qsizetype i = first; i < shown.size(); ++i) {
        low = std::min(low, shown[i].x());
        high = std::max(high, shown[i].x());
    }
    const auto from = static_cast<qint64>(std::llround(low));
    const auto to = std::max(static_cast<qint64>(std::llround(high)), from + kMinSpanMs);
    axisX_->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(to));
}

void CTempChartView::SetAutoFit(bool on)
{
    autoFit_ = on;
    FitX();
}
