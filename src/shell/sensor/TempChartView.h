// The chart of one sensor's newest temperature values: a line of the whole degrees and the
// measured points, over a horizontal axis that is fixed (0-30) or fits the points.
#pragma once

#include <QChartView>

#include "pages/sensor/TempRecordPage.h"

class QLineSeries;
class QScatterSeries;
class QValueAxis;

class CTempChartView : public QChartView {
    Q_OBJECT
public:
    static constexpr double kCreatedPointSize = 3.0;  // the empty chart's points
    static constexpr double kPointSize = 9.0;         // points after a redraw
    static constexpr double kTickStep = 1.0;          // horizontal tick step after a redraw

    explicit CTempChartView(QWidget* parent = nullptr);

    // Replaces both series and the title with the chart's points.
    void Draw(const rtu::TempChart& chart);
    // Automatic horizontal axis (fits the points) or fixed 0-30.
    void SetAutoFit(bool on);
    bool AutoFit() const { return autoFit_; }

    QLineSeries* Line() const { return line_; }
    QScatterSeries* Points() const { return points_; }
    QValueAxis* AxisX() const { return axisX_; }
    QValueAxis* AxisY() const { return axisY_; }

private:
    void MakeSeries(double pointSize);
    void FitX();

    QLineSeries* line_ = nullptr;
    QScatterSeries* points_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    bool autoFit_ = false;
};
