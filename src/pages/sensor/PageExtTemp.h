// The external one-wire temperature sensors 0-3: a list of their limits and alarm settings,
// edited one sensor at a time in the sensor setup dialog (which writes that sensor to the
// unit at once), and the settings common to all sensors, saved with the Save button.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageExtTemp : public CPageBase {
public:
    static constexpr int kList = ctl::kList;
    static constexpr int kSensors = 4;            // sensors 0-3, one row each
    static constexpr int kColumns = 12;           // number, reading, ten settings
    static constexpr int kReadingColumn = 1;      // the current reading (shown only)
    static constexpr int kFirstSetting = 2;       // columns 2-11 are written back
    static constexpr int kFirstFlag = 9;          // columns 9-11 hold "1" or "0"
    static constexpr int kEnableColumn = 11;      // kept by a reload
    static constexpr std::size_t kMaxField = 31;  // characters of a reported field kept
    static constexpr int kColumnWidth = 60;

    // Common settings: the serial and GPRS periods, event step, storage period, upload time span.
    static constexpr int kUartPeriod = 1001, kGprsPeriod = 1002, kEventStep = 1003, kSavePeriod = 1004;
    static constexpr int kUploadStart = 1005, kUploadEnd = 1006;

    // The sensor setup dialog.
    static constexpr int kSetupReading = 1101;  // top label: the current reading
    static constexpr int kSetupEdit0 = 1102;    // 1102-1108: columns 2-8
    static constexpr int kSetupCheck0 = 1109;   // 1109-1111: columns 9-11
    static constexpr int kSetupOk = 1, kEdits = 7, kFlags = 3;

    static constexpr const char* kDump = "%DUMP_DS1\r";

    CPageExtTemp(PageContext& context, const PageInfo& info);

    // Empties columns 1-10 of the sensors and the serial, GPRS and event-step boxes.
    void ClearFields() override;
    // Device mode: the six common settings, framed. Profile: the ten commands of each
    // sensor, then the serial and GPRS periods, event step and storage period.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // A save of the common settings: no reload follows.
    void AfterSave() override {}
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const override;
    // Writes the dialog's values into the row, sends that sensor's ten commands, reloads.
    void CommitEditRow(const RowEdit& edit) override;

    // The "$ETEMP" report (text after the key) and the "$EXTEMP" report (text after the key).
    void TakeSensor(std::string_view text);
    void TakeCommon(std::string_view text);

private:
    // The ten command lines of one sensor from its row.
    std::vector<std::string> SensorLines(int sensor) const;
};

}  // namespace rtu
