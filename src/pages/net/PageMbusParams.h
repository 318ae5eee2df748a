// The Modbus master: its general settings and the table of 32 polled registers, each row
// edited in the register editor and written to the unit at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageMbusParams : public CPageBase {
public:
    static constexpr int kSlaveAddress = 1385;  // hidden with its label 1384
    static constexpr int kRepeat = 1387;        // alarm message repeat, minutes
    static constexpr int kAlarmSpan = 1390;     // alarm message interval, minutes
    static constexpr int kReadTimeout = 1389;   // ms
    static constexpr int kPollSpan = 1391;      // s
    static constexpr int kTable = 1388;
    static constexpr int kSave = 1;

    // Table columns.
    static constexpr int kColName = 1;
    static constexpr int kColSlave = 2;
    static constexpr int kColAddress = 3;
    static constexpr int kColType = 4;
    static constexpr int kColState = 5;
    static constexpr int kColGain = 6;
    static constexpr int kColLow = 7;
    static constexpr int kColHigh = 8;
    static constexpr int kColStep = 9;
    static constexpr int kColAdjust = 10;
    static constexpr int kColMask = 11;
    static constexpr int kColInterlock = 12;
    static constexpr int kColFlag0 = 13;  // 13-17: 32-bit, word inverse, float, unsigned, byte inverse
    static constexpr int kColLag = 18;
    static constexpr int kColMatrix = 19;
    static constexpr int kColumns = 20;
    static constexpr int kFlags = 5;

    // Register editor controls.
    static constexpr int kEdName = 1397;
    static constexpr int kEdSlave = 1389;
    static constexpr int kEdAddress = 1390;
    static constexpr int kEdType = 1391;   // 0 coil, 1 holding, 2 input, 3 discrete
    static constexpr int kEdState = 1396;  // 0 OFF, 1 ON
    static constexpr int kEdLow = 1403;
    static constexpr int kEdHigh = 1404;
    static constexpr int kEdGain = 1406;
    static constexpr int kEdAdjust = 1411;
    static constexpr int kEdStep = 1409;
    static constexpr int kEdMask = 1413;
    static constexpr int kEdInterlock = 1415;  // outputs 0-3, 4 none
    static constexpr int kEdFlag32 = 1500;
    static constexpr int kEdWordInverse = 1501;
    static constexpr int kEdFloat = 1560;
    static constexpr int kEdUnsigned = 1561;
    static constexpr int kEdByteInverse = 1502;
    static constexpr int kEdLag = 1417;
    static constexpr int kEdMatrix0 = 4100;  // 4100-4109: the ten alarm matrix bits
    static constexpr int kMatrixBits = 10;
    static constexpr int kNoInterlockItem = 4;  // the "none" item of the interlock list
    static constexpr int kNoInterlock = 255;    // what the unit gets for none

    CPageMbusParams(PageContext& context, const PageInfo& info);

    // Save sends the general settings, then asks the main window for a full reload.
    void AfterSave() override { PostToMain(cmd::kReload); }
    // The own reload asks for the Modbus dump; columns 8-19 keep their text.
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    void CommitEditRow(const RowEdit& edit) override;

    // One register report: key ("$MDMAS" …) and the text after it.
    void TakeRegisterReport(std::string_view key, std::string_view text);
    // "$REG<n> <limit>": high limits 0-31, low limits 32-63.
    void TakeLimit(std::string_view text);
    // The register type names of the table.
    static const char* TypeName(int type);

private:
    std::vector<RowEditorDecl> editors_{};
};

}  // namespace rtu
