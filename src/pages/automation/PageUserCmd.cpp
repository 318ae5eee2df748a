#include "pages/automation/PageUserCmd.h"

#include <algorithm>
#include <vector>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

using P = CPageUserCmd;

constexpr int kNumberWidth = 60, kCommandWidth = 120;  // the list's column widths
constexpr std::size_t kHexGroup = 4;  // hex digits per UCS-2 code unit
constexpr const char* kInvalidCommand = "The system command may hold ASCII characters only.";

const std::vector<FieldDecl>& PageFields()
{
    // clang-format off
    static const std::vector<FieldDecl> fields = {
        {.id = P::kTitle, .kind = K::Label, .caption = Own("TITLE")},
        {.id = P::kListId, .kind = K::List,
         .columns = {{Own("LISTC0"), kNumberWidth, false, ColumnKind::Label},
                     {Own("LISTC1"), kCommandWidth, true, ColumnKind::Text}, {Own("LISTC2"), kCommandWidth, true, ColumnKind::Text}},
         .rows = P::kRows},
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    // clang-format on
    return fields;
}

// A text the unit keeps as hex digits, four per character.
bool LooksHex(std::string_view text)
{
    return text.size() % kHexGroup == 0 && std::all_of(text.begin(), text.end(), IsHexDigit);
}

std::string Row(const char* format, int row, const std::string& text)
{
    const CommandArg args[] = {static_cast<long long>(row), text};
    return FormatCommand(format, args).value_or(std::string{});
}

// The user command goes hex-encoded only when plain text would not reach the unit as typed.
bool UserLine(const CPageBase&, const RowEdit& edit, std::string& line)
{
    line = Row("%%U%2.2d%s\r", edit.row, P::UserForUnit(EditTextOf(edit, P::kEditorUser)));
    return true;
}

const std::vector<RowEditorDecl>& PageEditors()
{
    static const std::vector<RowEditorDecl> editors = {
        RowEditorDecl{P::kListId,
                      Shared("TABS", "PAGE_USER_CMD"),
                      {{.id = P::kEditorSystem,
                        .kind = K::Text,
                        .caption = Own("LAB1"),
                        .captionId = 1291,
                        .write = {.format = "%%Y%2.2d%s\r", .order = 2},
                        .column = P::kSystemColumn},
                       {.id = P::kEditorUser,
                        .kind = K::Text,
                        .caption = Own("LAB2"),
                        .captionId = 1292,
                        .write = {.order = 1, .rowCompose = UserLine},
                        .maxLength = P::kMaxUserChars,
                        .column = P::kUserColumn},
                       MakeButton(P::kEditorOk, Shared("Buttons", "Ok")),
                       MakeButton(P::kEditorCancel, Shared("Buttons", "CANCEL"))},
                      "%"}};  // each text ends its line; a '%' would start a command of its own
    return editors;
}

void TakeSystem(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit.text, false); }
void TakeUser(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit.text, true); }

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$SYSCMD"}, .fn = TakeSystem},
    {.number = 2, .keys = {"$USERCMD#"}, .fn = TakeUser},
};


}  // namespace

CPageUserCmd::CPageUserCmd(PageContext& context, const PageInfo& info) : CPageBase(context, info)
{
    SetDecl({.fields = PageFields(), .editors = PageEditors(), .handlers = kHandlers, .framed = false});
    Value(kListId);  // the fixed rows with their labels exist from the start
}


bool CPageUserCmd::HasNonAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= kFirstNonAscii; });
}

std::string CPageUserCmd::UserForUnit(const std::string& text)
{
    // A control character (a line end the unit reported) goes hex-encoded like text beyond
    // ASCII: one profile line stays one command.
    const bool control = std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < ' ' || u == kDelete;
    });
    return control || HasNonAscii(text) ? EncodeUcs2Hex(text) : text;
}

void CPageUserCmd::TakeReport(std::string_view text, bool user)
{
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits == 0 || digits > static_cast<std::size_t>(kMaxRowDigits)) return;  // no row, or none the list has
    const int row = LeadingNumber(text.substr(0, digits));
    if (row >= kRows) return;
    const std::string_view value = digits + 1 < text.size() ? text.substr(digits + 1) : std::string_view{};
    std::string shown(value);
    if (user && LooksHex(value)) {
        // Lower-case digits are the same digits: read them as such, not as garbage characters.
        std::transform(shown.begin(), shown.end(), shown.begin(),
                       [](char c) { return c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c; });
        shown = DecodeUcs2Hex(shown);
    }
    SetCell(kListId, row, user ? kUserColumn : kSystemColumn, std::move(shown));
}

void CPageUserCmd::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile || !file) return;
    for (int row = 0; row < kRows; ++row) {
        const std::string user = UserForUnit(CellText(kListId, row, kUserColumn));
        const std::string system = CellText(kListId, row, kSystemColumn);
        if (user.empty() || system.empty()) continue;  // half a pair is no command
        EmitCommand(true, Row("%%U%2.2X%s\r", row, user), file);
        EmitCommand(true, Row("%%Y%2.2X%s\r", row, system), file);
    }
}

std::optional<FieldProblem> CPageUserCmd::CheckEditRow(const RowEdit& edit) const
{
    if (auto problem = CPageBase::CheckEditRow(edit)) return problem;
    if (HasNonAscii(EditTextOf(edit, kEditorSystem))) {
        std::string why = Tr("SYSMSG", "INVALID_CMD");
        return FieldProblem{kEditorSystem, {}, why.empty() ? kInvalidCommand : why};
    }
    return std::nullopt;
}

}  // namespace rtu
