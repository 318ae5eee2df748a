#include "pages/basic/PageMainParams.h"

#include <array>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

using P = CPageMainParams;

FieldDecl LabelOf(int id, const char* key, bool visible = true)
{
    return MakeField(id, FieldKind::Label, Own(key), "", visible);
}
FieldDecl EditOf(int id, bool visible = true) { return MakeField(id, FieldKind::Text, {}, "", visible); }
FieldDecl CheckOf(int id, const char* key) { return MakeField(id, FieldKind::Check, Own(key)); }

// The drop-downs of this page are kept hidden; their values still go to the unit.
FieldDecl ComboOf(int id, std::vector<TextRef> items)
{
    FieldDecl f = MakeField(id, FieldKind::Combo, {}, "", false);
    f.items = std::move(items);
    return f;
}

std::vector<FieldDecl> MakeFields()
{
    return {
        MakeField(ctl::kFrame, FieldKind::Label, Shared("TABS", "PAGE_BASIC")),
        LabelOf(1111, "BPS", false),
        EditOf(P::kBaud, false),
        LabelOf(1112, "PARITY", false),
        ComboOf(P::kParity,
                {{"SYSCHAR", "PARITY0", ""}, {"SYSCHAR", "PARITY1", ""}, {"SYSCHAR", "PARITY2", ""},
                 {"SYSCHAR", "PARITY3", ""}, {"SYSCHAR", "PARITY4", ""}}),
        LabelOf(1118, "GSMBANDS", false),
        ComboOf(P::kGsmBand,
                {Fixed("PGSM_MODE"), Fixed("DCS_MODE"), Fixed("PCS_MODE"), Fixed("EGSM_DCS_MODE"),
                 Fixed("GSM850_PCS_MODE"), Fixed("Default")}),
        LabelOf(1121, "SMSMODE", false),
        ComboOf(P::kSmsMode, {Fixed("0: PDU"), Fixed("1: TEXT")}),
        LabelOf(1114, "UID"),
        EditOf(P::kIdentity),
        LabelOf(1115, "UID_DESC"),
        LabelOf(1113, "CCODE"),
        EditOf(P::kCountryCode),
        LabelOf(1116, "MEMO"),
        EditOf(P::kDescription),
        CheckOf(P::kDas, "DAS"),
        CheckOf(P::kTscs, "TSCS"),
        CheckOf(P::kTssp, "TSSP"),
        LabelOf(1222, "SP"),
        EditOf(P::kServicePhone),
        LabelOf(1117, "PIN"),
        EditOf(P::kPin),
        LabelOf(1119, "PUK"),
        EditOf(P::kPuk),
        LabelOf(1120, "SMSC"),
        EditOf(P::kSmsCentre),
        CheckOf(P::kSignalAlarm, "CSQ_ALARM"),
        EditOf(P::kSignalLow),
        CheckOf(P::kReplySuccess, "RPLSUC"),
        CheckOf(P::kReplyError, "RPLERR"),
        CheckOf(P::kForwardSms, "CHECKFWDEN"),
        LabelOf(1584, "FWDKEY"),
        EditOf(P::kForwardKey, false),
        LabelOf(1590, "FWDSPAN"),
        EditOf(P::kForwardSpan),
        LabelOf(1586, "CHECKSP"),
        EditOf(P::kBalanceNumber),
        LabelOf(1588, "CHECKCODE"),
        EditOf(P::kBalanceCode),
        MakeButton(ctl::kSave, Shared("Buttons", "Save")),
        MakeButton(ctl::kReload, {}, "Reload"),
    };
}

// How a report sets its control.
enum class Apply {
    Text,     // the text from the offset
    Hex,      // the UCS-2 hex text from the offset, decoded
    Number,   // a drop-down: the number at the offset is the item index
    On,       // a check box set by a whole pattern
    Off,      // ... cleared
    CharIs1,  // a check box: the character at the offset is '1'
};

struct ReportRule {
    const char* key;  // the line contains this
    int offset;       // where the value starts, from the start of the line
    Apply apply;
    int id;
};

// In test order: the first key found anywhere in the line decides.
constexpr std::array<ReportRule, 29> kReportRules{{
    {"$PINC", 6, Apply::Text, P::kPin},
    {"$BPS", 5, Apply::Text, P::kBaud},
    {"$PARITY", 8, Apply::Number, P::kParity},
    {"$GSMBAND", 9, Apply::Number, P::kGsmBand},
    {"$DESC ", 6, Apply::Hex, P::kDescription},
    {"$DAS 0", 0, Apply::Off, P::kDas},
    {"$DAS 1", 0, Apply::On, P::kDas},
    {"$DID", 5, Apply::Text, P::kIdentity},
    {"$CC", 4, Apply::Text, P::kCountryCode},
    {"$CSQLOW ", 8, Apply::Text, P::kSignalLow},
    {"$PRTCS 0", 0, Apply::Off, P::kTscs},
    {"$PRTCS 1", 0, Apply::On, P::kTscs},
    {"$PRTSP 0", 0, Apply::Off, P::kTssp},
    {"$PRTSP 1", 0, Apply::On, P::kTssp},
    {"$SPN", 5, Apply::Text, P::kServicePhone},
    {"$SIGNALA 0", 0, Apply::Off, P::kSignalAlarm},
    {"$SIGNALA 1", 0, Apply::On, P::kSignalAlarm},
    {"$RPLSUC 0", 0, Apply::Off, P::kReplySuccess},
    {"$RPLSUC 1", 0, Apply::On, P::kReplySuccess},
    {"$RPLERR 0", 0, Apply::Off, P::kReplyError},
    {"$RPLERR 1", 0, Apply::On, P::kReplyError},
    {"$SMSC ", 6, Apply::Text, P::kSmsCentre},
    {"$PUKC ", 6, Apply::Text, P::kPuk},
    {"$MODEMSMODE ", 12, Apply::Number, P::kSmsMode},
    {"$FWDSMS ", 8, Apply::CharIs1, P::kForwardSms},
    {"$MODEM_FWDSPAN ", 15, Apply::Text, P::kForwardSpan},
    {"$FWDKEY ", 8, Apply::Hex, P::kForwardKey},
    {"$CKBSP ", 7, Apply::Text, P::kBalanceNumber},
    {"$CKBCD ", 7, Apply::Text, P::kBalanceCode},
}};

int ItemCount(int id)
{
    switch (id) {
    case P::kParity: return P::kParityCount;
    case P::kGsmBand: return P::kGsmBandCount;
    default: return P::kSmsModeCount;
    }
}

}  // namespace

std::span<const FieldDecl> CPageMainParams::Fields() const
{
    static const std::vector<FieldDecl> fields = MakeFields();
    return fields;
}

void CPageMainParams::ClearFields()
{
    CPageBase::ClearFields();
    // Without a report the unit is taken to be in text mode.
    SetSel(kSmsMode, kSmsModeCleared);
}

void CPageMainParams::SetReportedSel(int id, int index, int count)
{
    SetSel(id, index >= 0 && index < count ? index : -1);
}

void CPageMainParams::OnReport(const RouteHit& hit)
{
    const std::string_view line = hit.line;
    for (const ReportRule& rule : kReportRules) {
        if (line.find(rule.key) == std::string_view::npos) continue;
        const std::size_t at = static_cast<std::size_t>(rule.offset);
        const std::string_view value = at < line.size() ? line.substr(at) : std::string_view{};
        switch (rule.apply) {
        case Apply::Text: SetText(rule.id, std::string(value)); break;
        case Apply::Hex: SetText(rule.id, DecodeUcs2Hex(value)); break;
        case Apply::Number: SetReportedSel(rule.id, LeadingNumber(value), ItemCount(rule.id)); break;
        case Apply::On: SetCheck(rule.id, 1); break;
        case Apply::Off: SetCheck(rule.id, 0); break;
        case Apply::CharIs1: SetCheck(rule.id, !value.empty() && value.front() == '1'); break;
        }
        return;
    }
}

void CPageMainParams::SaveParams(bool toProfile, CProfileWriter* file)
{
    auto emit = [&](const std::string& line) { EmitCommand(toProfile, line, file); };
    const int parity = Sel(kParity);
    const int smsMode = Sel(kSmsMode);
    const int band = Sel(kGsmBand);

    if (!toProfile) emit("%STARTCMD\r");
    if (parity >= 0 && parity < kParityCount) emit(Printf("%%UP%d\r", parity));
    if (smsMode >= 0 && smsMode < kSmsModeCount) emit(Printf("%%MODEMSMSMD%d\r", smsMode));
    emit(Printf("%%CC%s\r", SingleLine(Text(kCountryCode)).c_str()));
    emit(Printf("%%ID%s\r", SingleLine(Text(kIdentity)).c_str()));
    emit(Printf("%%DAS%d\r", Check(kDas) ? 1 : 0));
    emit(Printf("%%UB%s\r", SingleLine(Text(kBaud)).c_str()));
    emit(Printf("%%DESC%s\r", EncodeUcs2Hex(Text(kDescription)).c_str()));
    emit(Printf("%%PRTCS%d\r", Check(kTscs) ? 1 : 0));
    emit(Printf("%%PRTSP%d\r", Check(kTssp) ? 1 : 0));
    emit(Printf("%%SP%s\r", SingleLine(Text(kServicePhone)).c_str()));
    emit(Printf("%%PIN%s\r", SingleLine(Text(kPin)).c_str()));
    emit(Printf("%%SIGNALA%d\r", Check(kSignalAlarm) ? 1 : 0));
    emit(Printf("%%RPLERR%d\r", Check(kReplyError) ? 1 : 0));
    emit(Printf("%%RPLSUC%d\r", Check(kReplySuccess) ? 1 : 0));
    emit(Printf("%%RSILOW%s\r", SingleLine(Text(kSignalLow)).c_str()));
    emit(Printf("%%SMSC%s\r", SingleLine(Text(kSmsCentre)).c_str()));
    emit(Printf("%%PUK%s\r", SingleLine(Text(kPuk)).c_str()));
    if (band >= 0) emit(Printf("%%CBAND%d\r", band));
    emit(Printf("%%FWDSMS%d\r", Check(kForwardSms) ? 1 : 0));
    emit(Printf("%%FWDKEY%s\r", EncodeUcs2Hex(Text(kForwardKey)).c_str()));
    emit(Printf("%%modemfwdspan%d\r", LeadingNumber(Text(kForwardSpan))));
    emit(Printf("%%CHECKBALANCE%s,%s\r", SingleLine(Text(kBalanceNumber)).c_str(), SingleLine(Text(kBalanceCode)).c_str()));
    if (!toProfile) emit("%COMMITCMD\r");
}

}  // namespace rtu
