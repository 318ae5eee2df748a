// The view of the two temperature record pages: the record list, and either the chart with
// the log file's buttons (real-time records) or the counter with sync and export (log sync).
// The list and the chart follow the page at most every kRefreshMs, however fast records
// arrive: the first record after a refresh starts one single-shot timer.
#pragma once

#include <QStyle>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "pages/sensor/TempCsvLog.h"
#include "pages/sensor/TempRecordPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableView;
class QTimer;
class QUrl;
class CSessionDriver;
class CTempChartView;
class CTempRecordTable;

class CTempRecordView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 250;  // the list and chart are shown again at most this often
    static constexpr const char* kExportFailed = "Open/Create the log file failed!";
    // A sync has ended once the unit took the request and then sent no record for this long.
    static constexpr int kSyncQuietMs = 2000;
    static constexpr const char* kSyncFinished = "Log sync finished: %1 records received.";

    // realTime: the real-time records page, which opens its log file at `logPath`.
    CTempRecordView(CSessionDriver& driver, rtu::CTempRecordPage& page, bool realTime, const std::string& logPath,
                    QWidget* parent = nullptr);
    ~CTempRecordView() override;

    // Shows what the page holds now (the list, the counter and the chart), and says in the window once
    // when the log file could no longer be written.
    void Sync();
    void Redraw();

    // What the view asks of the desktop; tests replace them.
    std::function<QString()> chooseExportPath;      // "" when the user cancels
    std::function<bool(const QString&)> askYesNo;   // a question; true for Yes
    std::function<void(const QString&)> showError;  // an error box
    std::function<void(const QUrl&)> openUrl;       // the desktop's program for a file

    QTableView* Table() const { return table_; }
    QLabel* Counter() const { return counter_; }
    CTempChartView* Chart() const { return chart_; }
    QComboBox* SensorBox() const { return sensorBox_; }
    QCheckBox* AutoFitBox() const { return autoFit_; }
    const rtu::CTempCsvLog& Log() const { return log_; }

private:
    QWidget* Button(int id, QStyle::StandardPixmap icon, const std::function<void()>& action);
    void Command(int id);
    void OpenLog();
    void DeleteLog();
    void Export();
    void SyncQuiet();

    CSessionDriver& driver_;
    rtu::CTempRecordPage& page_;
    bool realTime_;
    rtu::CTempCsvLog log_;
    CTempRecordTable* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* counter_ = nullptr;
    CTempChartView* chart_ = nullptr;
    QComboBox* sensorBox_ = nullptr;
    QCheckBox* autoFit_ = nullptr;
    QTimer* syncQuiet_ = nullptr;  // runs from a sync request until the records stop
    int listener_ = 0;
    bool syncPending_ = false;
    bool toldWriteFailed_ = false;
    std::uint64_t drawn_ =
        ~std::uint64_t{0};  // the page generation the chart shows  // a failed log write is said once per log file
};
