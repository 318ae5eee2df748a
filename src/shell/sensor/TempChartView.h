// The chart of one sensor's newest temperature values over the clock time of their records:
// a line of the whole degrees (broken where the sensor had no value) and the measured points.
// The time axis shows the newest kFixedPoints records, or all points drawn with auto fit.
#pragma once

#include <QChartView>
#include <QList>

#include "pages/sensor/TempRecordPage.h"

class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class CTempChartView : public QChartView {
    Q_OBJECT
public:
    static constexpr double kCreatedPointSize = 3.0;        // the empty chart's points
    static constexpr double kPointSize = 9.0;               // points after a redraw
    static constexpr int kFixedPoints = 30;                 // records the time axis shows without auto fit
    static constexpr const char* kTimeFormat = "HH:mm:ss";  // time axis labels
    static constexpr const char* kRowTimeFormat = "yyyy/MM/dd HH:mm:ss";  // a real-time row's time

    explicit CTempChartView(QWidget* parent = nullptr);

    // Replaces the series and the title with the chart's points; a point whose row time
    // can't be read is left out.
    void Draw(const rtu::TempChart& chart);
    // The time axis over all points drawn, or over the newest kFixedPoints of them.
    void SetAutoFit(bool on);
    bool AutoFit() const { return autoFit_; }

    // The first run of the line (nullptr before a draw with points).
    QLineSeries* Line() const { return lines_.isEmpty() ? nullptr : lines_.front(); }
    const QList<QLineSeries*>& Lines() const { return lines_; }
    QScatterSeries* Points() const { return points_; }
    QDateTimeAxis* AxisX() const { return axisX_; }
    QValueAxis* AxisY() const { return axisY_; }

private:
    void ClearSeries();
    QLineSeries* AddLine();
    void FitX();

    QList<QLineSeries*> lines_;
    QScatterSeries* points_ = nullptr;
    QDateTimeAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    bool autoFit_ = false;
};
