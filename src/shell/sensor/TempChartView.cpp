#include "shell/sensor/TempChartView.h"

#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace {
constexpr double kFixedXMin = 0.0;  // the fixed horizontal axis starts here …
constexpr int kMinChartHeight = 220;
}  // namespace

CTempChartView::CTempChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(kMinChartHeight);
    QChart* c = chart();
    c->legend()->hide();
    axisX_ = new QValueAxis(c);
    axisY_ = new QValueAxis(c);
    axisX_->setObjectName("axisX");
    axisY_->setObjectName("axisY");
    axisX_->setLabelFormat("%d");  // record positions are whole numbers
    c->addAxis(axisX_, Qt::AlignBottom);
    c->addAxis(axisY_, Qt::AlignLeft);
    axisX_->setRange(kFixedXMin, rtu::TempChart::kFixedXMax);
    axisY_->setRange(rtu::TempChart::kLowMark, rtu::TempChart::kHighMark);
    MakeSeries(kCreatedPointSize);
}

void CTempChartView::MakeSeries(double pointSize)
{
    QChart* c = chart();
    for (QAbstractSeries* old : {static_cast<QAbstractSeries*>(line_), static_cast<QAbstractSeries*>(points_)}) {
        if (!old) continue;
        c->removeSeries(old);
        delete old;
    }
    line_ = new QLineSeries(c);
    points_ = new QScatterSeries(c);
    points_->setMarkerSize(pointSize);
    c->addSeries(line_);
    c->addSeries(points_);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(line_), static_cast<QAbstractSeries*>(points_)}) {
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
}

void CTempChartView::Draw(const rtu::TempChart& drawn)
{
    MakeSeries(kPointSize);
    chart()->setTitle(QString::fromStdString(drawn.title));
    if (drawn.points.empty()) return;
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickInterval(kTickStep);
    axisY_->setRange(drawn.yMin, drawn.yMax);
    QList<QPointF> points, line;
    for (const auto& [x, y] : drawn.points) points.append(QPointF(x, y));
    for (const auto& [x, y] : drawn.line) line.append(QPointF(x, y));
    points_->replace(points);
    line_->replace(line);
    FitX();
}

void CTempChartView::FitX()
{
    if (!autoFit_) {
        axisX_->setRange(kFixedXMin, rtu::TempChart::kFixedXMax);
        return;
    }
    double last = kFixedXMin;
    for (const QPointF& p : points_->points()) last = std::max(last, p.x());
    axisX_->setRange(kFixedXMin, std::max(last, kFixedXMin + 1));
}

void CTempChartView::SetAutoFit(bool on)
{
    autoFit_ = on;
    FitX();
}
