// The Modbus slave registers: 32 named registers with their highest and lowest allowed
// values; one register at a time is changed in the register editor.
#pragma once

#include <memory>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageRname : public CPageBase {
public:
    // The register list and its columns.
    static constexpr int kList = 1073, kColName = 1, kColHigh = 2, kColLow = 3;
    static constexpr int kEdit = 3002;      // hidden: edits the selected row
    static constexpr int kDefaults = 1082;  // hidden and disabled: loads the defaults
    // The register editor.
    static constexpr int kEdName = 1075, kEdHigh = 1076, kEdLow = 1077;
    static constexpr int kRowWaitMs = 4000;       // each line of a register edit
    static constexpr int kDefaultsWaitMs = 3000;  // each register line of the defaults
    // The limits a register gets with the defaults.
    static constexpr int kDefaultHigh = 60000, kDefaultLow = 300;

    CPageRname(PageContext& context, const PageInfo& info);

    // Nothing to save as a batch: every register goes from its editor.
    void SaveParams(bool, CProfileWriter*) override {}
    // Writes the default names and limits of all 32 registers, then asks for a full reload.
    void LoadDefaults();

    void TakeName(std::string_view text);
    void TakeLimit(std::string_view text);
};

}  // namespace rtu
