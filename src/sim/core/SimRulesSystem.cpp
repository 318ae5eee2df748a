// The unit's system commands: main and alarm parameters, control phones, the indexed text
// tables (alarm messages and names), the alarm priority tables, MMS and the camera.
#include <array>

#include "sim/core/SimCommandTable.h"

namespace rtu {

namespace {

using namespace simgroups;
using namespace simrules;

constexpr int kParityMax = 4;           // five parity settings
constexpr int kSmsModeMax = 1;          // PDU or TEXT
constexpr int kGsmBandMax = 5;          // six band settings, the last is "Default"
constexpr int kSignalLowMax = 36;       // signal threshold scale of the modem
constexpr int kParamNumberMax = 65535;  // delays, repeat counts, spans: 16-bit parameters
constexpr int kPhoneRowMax = 9;         // ten control phones, one digit
constexpr int kSosRowMax = 0;           // the unit has one SOS phone
constexpr int kRomSmsMax = 29;          // thirty ROM alarm messages
constexpr int kNameRowMax = 3;          // four inputs, outputs or analog channels
constexpr int kSensorNameMax = 5;       // six wireless sensor names
constexpr int kPrioRowMax = 9;          // ten control phones per priority table
constexpr int kPrioEntryBase = 8;       // priority entries of the phones start at 8
constexpr int kAnalogRowMax = 3;        // analog channels of "%AINDRP"
constexpr int kCameraNumberMax = 6;     // picture size 0-3, brightness 0-6, white balance 0-5
constexpr int kShotModeMax = 2;         // three shooting modes
constexpr int kPicturesPerMmsMax = 6;   // pictures one MMS carries


using K = ESimValueKind;
using R = ESimRowForm;

// "<keyword>=<phone row>,<mask>[,<mask>]": row r of the phones is entry r + 8 in the reports.
// A second mask is checked even where the unit keeps one table only.
constexpr SSimRule Priority(std::string_view keyword, std::string_view key, std::string_view key2, int masks)
{
    return {.keyword = keyword,
            .group = kPrio,
            .row = {.form = R::UpTo, .digits = 2, .max = kPrioRowMax, .base = kPrioEntryBase, .keyDigits = 2},
            .after = ",",
            .fields = masks == 1 ? Fields({{.key = key, .kind = K::Mask}})
                                 : Fields({{.key = key, .kind = K::Mask}, {.key = key2, .kind = K::Mask}})};
}

// Command keyword → report key. Reporting key and command keyword differ for several
// parameters ("%UB" writes "$BPS", "%ASC" writes "$ATA" ...).
constexpr std::array kRules{
    // System main parameters
    Value("UP", kSys, "$PARITY", K::Number, kParityMax),
    Value("MODEMSMSMD", kSys, "$MODEMSMODE", K::Number, kSmsModeMax),
    Value("CC", kSys, "$CC"),
    Value("ID", kSys, "$DID"),
    Value("DAS", kSys, "$DAS", K::Flag),
    Value("UB", kSys, "$BPS"),
    Value("DESC", kSys, "$DESC", K::Ucs2Hex),
    Value("PRTCS", kSys, "$PRTCS", K::Flag),
    Value("PRTSP", kSys, "$PRTSP", K::Flag),
    Value("SP", kSys, "$SPN"),
    Value("PIN", kSys, "$PINC"),
    Value("SIGNALA", kSys, "$SIGNALA", K::Flag),
    Value("RPLERR", kSys, "$RPLERR", K::Flag),
    Value("RPLSUC", kSys, "$RPLSUC", K::Flag),
    Value("RSILOW", kSys, "$CSQLOW", K::Number, kSignalLowMax),
    Value("SMSC", kSys, "$SMSC"),
    Value("PUK", kSys, "$PUKC"),
    Value("CBAND", kSys, "$GSMBAND", K::Number, kGsmBandMax),
    Value("FWDSMS", kSys, "$FWDSMS", K::Flag),
    Value("FWDKEY", kSys, "$FWDKEY", K::Ucs2Hex),
    Value("modemfwdspan", kSys, "$MODEM_FWDSPAN", K::Number, kParamNumberMax),
    Pair("CHECKBALANCE", kSys, "$CKBSP", "$CKBCD"),
    // System alarm parameters
    Value("SNDALARMDLYEN", kSys, "$SNDALARMDLY", K::Flag),
    Value("OUTDLY", kSys, "$OUTDLY", K::Number, kParamNumberMax),
    Value("INDLY", kSys, "$INDLY", K::Number, kParamNumberMax),
    Value("IOAT", kSys, "$IAT", K::Number, kParamNumberMax),
    Value("ARING", kSys, "$AR", K::Flag),
    Value("ASC", kSys, "$ATA", K::Flag),
    Value("AWB", kSys, "$AWB", K::Flag),
    Value("UARTEVENT", kSys, "$UARTEVENT", K::Flag),
    Value("DRPTMP", kSys, "$DRPTMP", K::Flag),
    Value("DRPTID", kSys, "$DRPTID", K::Flag),
    Value("DRPDEF", kSys, "$DRPDEF", K::Flag),
    Value("DRPRSI", kSys, "$DRPRSI", K::Flag),
    Value("DRPDIN", kSys, "$DRPDIN", K::Flag),
    Value("DRPMEM", kSys, "$DRPMEM", K::Flag),
    Value("DRPBAT", kSys, "$DRPBAT", K::Flag),
    Value("DRPETMP", kSys, "$DRPETP", K::Flag),
    Value("DINCDRP", kSys, "$DRPCNT", K::Flag),
    SSimRule{.keyword = "AINDRP",
             .group = kAds,
             .row = {.form = R::Each, .max = kAnalogRowMax},
             .fields = Fields({{.key = "$AINDRP#", .kind = K::Flag}})},
    // Phones
    Indexed("CS", kPhone, {.max = kPhoneRowMax}, "$CS#"),
    Indexed("SOS", kPhone, {.max = kSosRowMax}, "$SOS#"),
    // Indexed text tables (UCS-2 hex)
    Indexed("S", kRomSms, {.digits = 2, .max = kRomSmsMax, .keyDigits = 2}, "$SMS#", K::Ucs2Hex),
    Value("adsmsheaden", kRomSms, "$AINSMH", K::Flag),
    Indexed("A", kAds, {.digits = 2, .max = kNameRowMax}, "$ADNAME#", K::Ucs2Hex),
    Indexed("I", kGpio, {.digits = 2, .max = kNameRowMax}, "$DINAME#", K::Ucs2Hex),
    Indexed("O", kGpio, {.digits = 2, .max = kNameRowMax}, "$DONAME#", K::Ucs2Hex),
    Indexed("E", kSensorNames, {.digits = 2, .max = kSensorNameMax}, "$ISNAME#:", K::Ucs2Hex),
    // Alarm priority tables
    Priority("DINPRIO=", "$PRIODINSMS#", "$PRIODINRING#", 2),
    Priority("AINPRIO=", "$PRIOAINSMS#", {}, 2),
    Priority("BASEPRIO=", "$PRIOSYS#", {}, 1),
    Priority("WINPRIO=", "$PRIOWINSMS#", "$PRIOWINRING#", 2),
    // MMS and camera (the "$MMS_" reports print their value right after the code)
    Pair("MMSC", kMms, "$MMS_SCU", "$MMS_SCP"),
    Value("MMSGATE", kMms, "$MMS_GAT"),
    Value("MMSUID", kMms, "$MMS_UID"),
    Value("MMSPWD", kMms, "$MMS_PWD"),
    Value("MMSPXY", kMms, "$MMS_PXY"),
    Value("MMSAPN", kMms, "$MMS_APN"),
    Value("MMSNAP", kMms, "$MMS_NAP"),
    Value("DSCMODE", kMms, "$MMS_PMD", K::Number, kShotModeMax),
    Value("MMSPC", kMms, "$MMS_PCT", K::Number, kPicturesPerMmsMax),
    Value("MMST", kMms, "$MMS_PTR", K::Number, kParamNumberMax),
    Value("MMSACC", kMms, "$MMSACC", K::Flag),
    Value("MMSTCC", kMms, "$MMSTCC", K::Flag),
    Value("MMSSMSCC", kMms, "$MMSSMSCC", K::Flag),
    Value("MMSALARM", kMms, "$MMSALARM", K::Flag),
    Value("MMSSMSHC", kMms, "$MMSSMSHC", K::Flag),
    Value("MMSSMSNT", kMms, "$MMSSMSRP", K::Flag),
    SSimRule{.keyword = "DSCFMT",
             .group = kMms,
             .fields = Fields({{.key = "$MMS_PSZ", .kind = K::Number, .max = kCameraNumberMax},
                               {.key = "$MMS_PBR", .kind = K::Number, .max = kCameraNumberMax},
                               {.key = "$MMS_PWB", .kind = K::Number, .max = kCameraNumberMax}})},
};

}  // namespace

std::span<const SSimRule> SystemRules() { return kRules; }

}  // namespace rtu
