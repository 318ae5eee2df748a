// The six user-defined commands: each pairs what a user sends (any language) with the
// unit command it stands for (plain ASCII). A pair is edited in the command editor and
// written to the unit at once; profiles take every complete pair.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageUserCmd : public CPageBase {
public:
    static constexpr int kRows = 6;       // pairs 0-5
    static constexpr int kListId = 1287;  // the command list
    static constexpr int kTitle = 1288;   // frame around the list
    static constexpr int kSystemColumn = 1;
    static constexpr int kUserColumn = 2;
    static constexpr int kEditorSystem = 1289;  // command editor: the unit command
    static constexpr int kEditorUser = 1290;    // command editor: the user command
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr int kMaxRowDigits = 9;  // digits read as a row number
    // A user command comes back hex-encoded and is shown with at most this many characters.
    static constexpr int kMaxUserChars = 150;
    static constexpr unsigned char kFirstNonAscii = 0x80;
    static constexpr unsigned char kDelete = 0x7F;  // the one control character above the blank

    CPageUserCmd(PageContext& context, const PageInfo& info);

    // No Save button: only a profile takes the pairs.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // The unit command is plain ASCII.
    std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const override;
    // "$SYSCMD<row> <command>" / "$USERCMD<row> <text or hex>".
    void TakeReport(std::string_view text, bool user);

    // A user command as the unit takes it: hex digits when any character is not ASCII.
    static std::string UserForUnit(const std::string& text);
    static bool HasNonAscii(std::string_view text);
};

}  // namespace rtu
