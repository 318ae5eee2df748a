#include "pages/basic/PageMainParams.h"

#include <vector>

#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using P = CPageMainParams;


// "%CHECKBALANCE<number>,<code>": one line carries the balance check number and code.
constexpr char kBalanceCheck[] = "%%CHECKBALANCE%s,%s\r";
constexpr ComposeFn WriteBalanceCheck = WriteTexts<kBalanceCheck, P::kBalanceNumber, P::kBalanceCode>;

// Rows in the page's layout. report: key, offset, decoding, position in the page's test
// order (the first key found in a line decides). write: format, position in the save batch.
// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Shared("TABS", "PAGE_BASIC")},
    {.id = P::kBaud, .kind = K::Text, .caption = Own("BPS"), .captionId = 1111, .visible = false,
     .report = {"$BPS", 5, D::Text, 2}, .write = {.format = "%%UB%s\r", .order = 6}, .dump = dump::kSys},
    {.id = P::kParity, .kind = K::Combo, .caption = Own("PARITY"), .captionId = 1112, .visible = false,
     .report = {"$PARITY", 8, D::Number, 3}, .write = {.format = "%%UP%d\r", .order = 1}, .dump = dump::kSys,
     .items = {Shared("SYSCHAR", "PARITY0"), Shared("SYSCHAR", "PARITY1"), Shared("SYSCHAR", "PARITY2"),
               Shared("SYSCHAR", "PARITY3"), Shared("SYSCHAR", "PARITY4")}},
    {.id = P::kGsmBand, .kind = K::Combo, .caption = Own("GSMBANDS"), .captionId = 1118, .visible = false,
     .report = {"$GSMBAND", 9, D::Number, 4}, .write = {.format = "%%CBAND%d\r", .order = 18}, .dump = dump::kSys,
     .items = {Fixed("PGSM_MODE"), Fixed("DCS_MODE"), Fixed("PCS_MODE"), Fixed("EGSM_DCS_MODE"),
               Fixed("GSM850_PCS_MODE"), Fixed("Default")}},
    {.id = P::kSmsMode, .kind = K::Combo, .caption = Own("SMSMODE"), .captionId = 1121, .visible = false,
     .report = {"$MODEMSMODE ", 12, D::Number, 24}, .write = {.format = "%%MODEMSMSMD%d\r", .order = 2},
     .dump = dump::kSys, .items = {Fixed("0: PDU"), Fixed("1: TEXT")}, .cleared = P::kSmsModeCleared},
    {.id = P::kIdentity, .kind = K::Text, .caption = Own("UID"), .captionId = 1114,
     .report = {"$DID", 5, D::Text, 8}, .write = {.format = "%%ID%s\r", .order = 4}, .dump = dump::kSys},
    {.id = 1115, .kind = K::Label, .caption = Own("UID_DESC"), .note = true},
    {.id = P::kCountryCode, .kind = K::Text, .caption = Own("CCODE"), .captionId = 1113,
     .report = {"$CC", 4, D::Text, 9}, .write = {.format = "%%CC%s\r", .order = 3}, .dump = dump::kSys,
     .chars = CharRule::Digits},
    {.id = P::kDescription, .kind = K::MultiLine, .caption = Own("MEMO"), .captionId = 1116,
     .report = {"$DESC ", 6, D::Hex, 5}, .write = {.format = "%%DESC%s\r", .order = 7}, .dump = dump::kSys},
    {.id = P::kDas, .kind = K::Check, .caption = Own("DAS"), .report = {"$DAS", 0, D::Switch, 6},
     .write = {.format = "%%DAS%d\r", .order = 5}, .dump = dump::kSys,
     .tooltip = "The unit's DAS option: on sends %DAS1, off %DAS0; the unit reports it as $DAS"},
    {.id = P::kTscs, .kind = K::Check, .caption = Own("TSCS"), .report = {"$PRTCS", 0, D::Switch, 11},
     .write = {.format = "%%PRTCS%d\r", .order = 8}, .dump = dump::kSys,
     .tooltip = "The unit's TSCS option: on sends %PRTCS1, off %PRTCS0; the unit reports it as $PRTCS"},
    {.id = P::kTssp, .kind = K::Check, .caption = Own("TSSP"), .report = {"$PRTSP", 0, D::Switch, 13},
     .write = {.format = "%%PRTSP%d\r", .order = 9}, .dump = dump::kSys,
     .tooltip = "The unit's TSSP option: on sends %PRTSP1, off %PRTSP0; the unit reports it as $PRTSP"},
    {.id = P::kServicePhone, .kind = K::Text, .caption = Own("SP"), .captionId = 1222,
     .report = {"$SPN", 5, D::Text, 15}, .write = {.format = "%%SP%s\r", .order = 10}, .dump = dump::kSys},
    {.id = P::kPin, .kind = K::Text, .caption = Own("PIN"), .captionId = 1117,
     .report = {"$PINC", 6, D::Text, 1}, .write = {.format = "%%PIN%s\r", .order = 11}, .dump = dump::kSys, .secret = true},
    {.id = P::kPuk, .kind = K::Text, .caption = Own("PUK"), .captionId = 1119,
     .report = {"$PUKC ", 6, D::Text, 23}, .write = {.format = "%%PUK%s\r", .order = 17}, .dump = dump::kSys, .secret = true},
    {.id = P::kSmsCentre, .kind = K::Text, .caption = Own("SMSC"), .captionId = 1120,
     .report = {"$SMSC ", 6, D::Text, 22}, .write = {.format = "%%SMSC%s\r", .order = 16}, .dump = dump::kSys},
    {.id = P::kSignalAlarm, .kind = K::Check, .caption = Own("CSQ_ALARM"), .report = {"$SIGNALA", 0, D::Switch, 16},
     .write = {.format = "%%SIGNALA%d\r", .order = 12}, .dump = dump::kSys},
    {.id = P::kSignalLow, .kind = K::Number, .report = {"$CSQLOW ", 8, D::Text, 10},
     .write = {.format = "%%RSILOW%s\r", .order = 15}, .dump = dump::kSys, .minValue = 0, .maxValue = P::kSignalLowMax},
    {.id = P::kReplySuccess, .kind = K::Check, .caption = Own("RPLSUC"), .report = {"$RPLSUC", 0, D::Switch, 18},
     .write = {.format = "%%RPLSUC%d\r", .order = 14}, .dump = dump::kSys},
    {.id = P::kReplyError, .kind = K::Check, .caption = Own("RPLERR"), .report = {"$RPLERR", 0, D::Switch, 20},
     .write = {.format = "%%RPLERR%d\r", .order = 13}, .dump = dump::kSys},
    {.id = P::kForwardSms, .kind = K::Check, .caption = Own("CHECKFWDEN"), .report = {"$FWDSMS ", 8, D::Flag, 25},
     .write = {.format = "%%FWDSMS%d\r", .order = 19}, .dump = dump::kSys},
    {.id = P::kForwardKey, .kind = K::Text, .caption = Own("FWDKEY"), .captionId = 1584, .visible = false,
     .report = {"$FWDKEY ", 8, D::Hex, 27}, .write = {.format = "%%FWDKEY%s\r", .order = 20}, .dump = dump::kSys},
    {.id = P::kForwardSpan, .kind = K::Text, .caption = Own("FWDSPAN"), .captionId = 1590,
     .report = {"$MODEM_FWDSPAN ", 15, D::Text, 26}, .write = {.format = "%%modemfwdspan%d\r", .order = 21},
     .dump = dump::kSys},
    {.id = P::kBalanceNumber, .kind = K::Text, .caption = Own("CHECKSP"), .captionId = 1586,
     .report = {"$CKBSP ", 7, D::Text, 28}, .write = {.order = 22, .compose = WriteBalanceCheck}, .dump = dump::kSys},
    {.id = P::kBalanceCode, .kind = K::Text, .caption = Own("CHECKCODE"), .captionId = 1588,
     .report = {"$CKBCD ", 7, D::Text, 29}, .write = {.partOf = P::kBalanceNumber}, .dump = dump::kSys},
    MakeButton(ctl::kSave, Shared("Buttons", "Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

}  // namespace

std::unique_ptr<CPageBase> CPageMainParams::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kFields});
}

}  // namespace rtu
