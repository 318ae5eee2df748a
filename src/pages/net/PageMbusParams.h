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
    // The alarm message repeat and interval in minutes, the read timeout in ms, the poll span in s.
    static constexpr int kRepeat = 1387, kAlarmSpan = 1390, kReadTimeout = 1389, kPollSpan = 1391;
    static constexpr int kTable = 1388, kSave = 1;

    // Table columns; 13-17 are the flags 32-bit, word inverse, float, unsigned, byte inverse.
    static constexpr int kColName = 1, kColSlave = 2, kColAddress = 3, kColType = 4, kColState = 5;
    static constexpr int kColGain = 6, kColLow = 7, kColHigh = 8, kColStep = 9, kColAdjust = 10;
    static constexpr int kColMask = 11, kColInterlock = 12, kColFlag0 = 13, kColLag = 18, kColMatrix = 19;
    static constexpr int kColumns = 20, kFlags = 5;

    // Register editor controls: the type is 0 coil, 1 holding, 2 input, 3 discrete; the state
    // 0 OFF, 1 ON; the interlock outputs 0-3, 4 none.
    static constexpr int kEdName = 1397, kEdSlave = 1389, kEdAddress = 1390, kEdType = 1391, kEdState = 1396;
    static constexpr int kEdLow = 1403, kEdHigh = 1404, kEdGain = 1406, kEdAdjust = 1411, kEdStep = 1409;
    static constexpr int kEdMask = 1413, kEdInterlock = 1415, kEdLag = 1417;
    static constexpr int kEdFlag32 = 1500, kEdWordInverse = 1501, kEdFloat = 1560, kEdUnsigned = 1561,
                         kEdByteInverse = 1502;
    static constexpr int kEdMatrix0 = 4100, kMatrixBits = 10;  // 4100-4109: the ten alarm matrix bits
    static constexpr int kNoInterlockItem = 4;                 // the "none" item of the interlock list
    static constexpr int kNoInterlock = 255;                   // what the unit gets for none

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
