#include "session/CommTestCommands.h"

#include <algorithm>

#include "pages/framework/Printf.h"

namespace rtu::comm {

namespace {

using F = std::array<const char*, kMaxLinesPerButton>;

// The test panel. Formats read as they go on the wire: "%%" is one '%', "\r" a carriage return.
constexpr TestCommand kCommands[] = {
    {1031, "I/O test", F{"%%TEST\r"}, NumberArg::None, true, kBasic | kCameraOff, Action::Send},
    {1033, "Full modem test", F{"%%TMODEM\r"}, NumberArg::None, true, kBasic, Action::Send},
    {1030, "SMS test", F{"%%TMMSMS%s\r"}, NumberArg::Sms, true, kBasic, Action::Send},
    {1036, "MMS test", F{"%%MSEND\"%s\"\r"}, NumberArg::Mms, true, kCamera, Action::Send},
    {1032, "Voice test", F{"%%ATATD%s;\r"}, NumberArg::Voice, true, kBasic | kCameraOff, Action::Send},
    {1040, "Hang up", F{"%%ATATH\r"}, NumberArg::None, true, kBasic | kCameraOff, Action::Send},
    {1037, "Modem off test", F{"%%TMOFF\r"}, NumberArg::None, true, kBasic | kCameraOff, Action::Send},
    {1009, "ATF", F{"%%ATF\r"}, NumberArg::None, true, kBasic, Action::ClearResults},
    {1010, "SM1", F{"%%SM1\r"}, NumberArg::None, true, kBasic, Action::Send},
    {1013, "Internal temperature", F{"%%TMPC\r"}, NumberArg::None, true, kBasic, Action::Send},
    {1012, "Analog inputs", F{"%%TESTADC\r"}, NumberArg::None, true, kAnalog, Action::Send},
    {1019, "External temperature", F{"%%ETMPC\r"}, NumberArg::None, false, kType4Only, Action::Send},
    {1017, "Signal quality", F{"%%ATAT+CSQ\r"}, NumberArg::None, false, kBasic, Action::Send},
    {1018, "Voltage", F{"%%VOLTAGE\r"}, NumberArg::None, false, kBasic, Action::Send},
    {1042, "Battery test", F{"%%TESTPOW\r"}, NumberArg::None, true, kBasic | kCameraOff, Action::Send},
    {1043, "Camera test", F{"%%TESTDSC\r"}, NumberArg::None, true, kCamera, Action::Send},
    {1014, "CNMMSC", F{"%%CNMMSC\r"}, NumberArg::None, true, kCamera, Action::Send},
    {1034, "Study", F{"%%LKEY\r"}, NumberArg::None, true, kCamera | kRf, Action::Send},
    {1035, "Erase", F{"%%EKEY\r"}, NumberArg::None, true, kCamera | kRf, Action::Send},
    {1015, "eV1527", F{"%%RFDECODER0\r"}, NumberArg::None, false, kRf, Action::Send},
    {1016, "PT2262", F{"%%RFDECODER1\r"}, NumberArg::None, false, kRf, Action::Send},
    {1442, CInfraredToggle::kOnCaption, F{}, NumberArg::None, false, kCamera, Action::Infrared},
    {1048, "Flash test", F{"%%TESTFLASH\r"}, NumberArg::None, false, kNever, Action::FlashNote},
    {1039, "Debug on", F{"%%MECHO1\r", "%%MMEXP1\r", "%%ATATE1\r"}, NumberArg::None, true, kNever, Action::Send},
    {1041, "Debug off", F{"%%MECHO0\r", "%%MMEXP0\r"}, NumberArg::None, true, kNever, Action::Send},
    {1045, "PDU mode", F{"%%GSMPDU1\r"}, NumberArg::None, false, kNever, Action::Send},
    {1046, "Text mode", F{"%%GSMPDU0\r"}, NumberArg::None, false, kNever, Action::Send},
    {1038, "Quick modem start", F{"%%MINIT\r"}, NumberArg::None, true, kNever, Action::Send},
    {1050, "Module off", F{"%%SHUTM\r"}, NumberArg::None, false, kNever, Action::Send},
    {1051, "Module on", F{"%%STARTM\r"}, NumberArg::None, false, kNever, Action::Send},
    {1498, "Download file", F{}, NumberArg::None, false, kNever, Action::Download},
    {1044, "Foreign MMSC", F{}, NumberArg::None, false, kCamera | kCameraOff, Action::None},
    {1047, "China MMSC", F{}, NumberArg::None, false, kCamera | kCameraOff, Action::None},
    {1449, "Full automatic test", F{}, NumberArg::None, false, kNever, Action::None},
};

// The controls each group shows or hides (number edits included).
constexpr int kBasicMembers[] = {1009, 1010, 1031, 1033, 1030, 1251, 1037, 1042, 1032, 1252, 1040, 1013, 1018, 1017};
// Showing the basic group also hides these. (The sound download has a box of its own in this
// build, apart from the product groups, so its slot list and button are not among them.)
constexpr int kBasicAlsoHides[] = {id::kFlashTest, id::kExtTemp};
constexpr int kAnalogMembers[] = {1012};
constexpr int kCameraMembers[] = {1036, 1253, 1034, 1035, 1014, 1043, 1044, 1047, 1442};
constexpr int kRfMembers[] = {1034, 1035, 1015, 1016};
constexpr int kCameraOffMembers[] = {1032, 1252, 1040, 1031, 1037, 1042, 1044, 1047};
constexpr int kType4Members[] = {id::kExtTemp};

// What a product type does, applied in this order: basic, analog, camera, then the rest.
enum class Op { Keep, Show, Hide };
struct ProductRule {
    Op basic, analog, camera;
    Op intTemp;  // 1013
    Op cameraOff;
    Op extTemp;  // 1019
    Op rf;
    bool mmsWindow;
};
constexpr ProductRule kProductRules[] = {
    // basic     analog    camera    1013      camera-off 1019      RF        MMS window
    {Op::Show, Op::Hide, Op::Hide, Op::Keep, Op::Keep, Op::Keep, Op::Hide, false},  // 0
    {Op::Show, Op::Show, Op::Hide, Op::Keep, Op::Keep, Op::Keep, Op::Hide, false},  // 1
    {Op::Show, Op::Hide, Op::Show, Op::Hide, Op::Show, Op::Keep, Op::Keep, true},   // 2
    {Op::Show, Op::Hide, Op::Show, Op::Hide, Op::Hide, Op::Keep, Op::Keep, true},   // 3
    {Op::Show, Op::Show, Op::Hide, Op::Keep, Op::Keep, Op::Show, Op::Hide, false},  // 4
    {Op::Show, Op::Hide, Op::Hide, Op::Keep, Op::Keep, Op::Keep, Op::Show, false},  // 5
};
static_assert(std::size(kProductRules) == kProductTypes.size());

void Set(std::span<const int> ids, Op op, Visibility& v)
{
    if (op == Op::Keep) return;
    for (int control : ids) v[control] = op == Op::Show;
}

void SetGroup(Group group, Op op, Visibility& v)
{
    Set(GroupMembers(group), op, v);
    if (group == kBasic && op == Op::Show) Set(kBasicAlsoHides, Op::Hide, v);
}

}  // namespace

std::span<const TestCommand> TestCommands() { return kCommands; }

const TestCommand* FindTestCommand(int control)
{
    for (const TestCommand& c : kCommands)
        if (c.id == control) return &c;
    return nullptr;
}

const std::string& NumberFor(const TestCommand& command, const TestNumbers& numbers)
{
    static const std::string kNone;
    switch (command.arg) {
    case NumberArg::Sms: return numbers.sms;
    case NumberArg::Voice: return numbers.voice;
    case NumberArg::Mms: return numbers.mms;
    case NumberArg::None: break;
    }
    return kNone;
}

std::vector<std::string> CommandBlocks(const TestCommand& command, const TestNumbers& numbers)
{
    std::vector<std::string> blocks;
    const std::string& number = NumberFor(command, numbers);
    for (const char* format : command.formats) {
        if (!format) break;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
#pragma GCC diagnostic ignored "-Wformat-security"
        // The table's formats take at most the one number.
        blocks.push_back(command.arg == NumberArg::None ? Printf(format) : Printf(format, number.c_str()));
#pragma GCC diagnostic pop
    }
    return blocks;
}

std::string CInfraredToggle::Press()
{
    const std::string command = next_on_ ? kOnCommand : kOffCommand;
    next_on_ = !next_on_;
    return command;
}

std::span<const int> GroupMembers(Group group)
{
    switch (group) {
    case kBasic: return kBasicMembers;
    case kAnalog: return kAnalogMembers;
    case kCamera: return kCameraMembers;
    case kRf: return kRfMembers;
    case kCameraOff: return kCameraOffMembers;
    case kType4Only: return kType4Members;
    case kNever: break;
    }
    return {};
}

std::vector<int> GroupControls()
{
    std::vector<int> all;
    for (Group g : {kBasic, kAnalog, kCamera, kRf, kCameraOff, kType4Only})
        for (int control : GroupMembers(g)) all.push_back(control);
    all.insert(all.end(), std::begin(kBasicAlsoHides), std::end(kBasicAlsoHides));
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

Visibility InitialVisibility()
{
    Visibility v;
    for (int control : GroupControls()) v[control] = false;
    return v;
}

void ApplyProductType(int type, Visibility& v)
{
    if (type < 0 || type >= static_cast<int>(std::size(kProductRules))) {
        for (Group g : {kBasic, kAnalog, kCamera, kRf, kCameraOff, kType4Only}) Set(GroupMembers(g), Op::Hide, v);
        return;
    }
    const ProductRule& r = kProductRules[type];
    SetGroup(kBasic, r.basic, v);
    SetGroup(kAnalog, r.analog, v);
    SetGroup(kCamera, r.camera, v);
    Set(std::span<const int>(&id::kIntTemp, 1), r.intTemp, v);
    SetGroup(kCameraOff, r.cameraOff, v);
    SetGroup(kType4Only, r.extTemp, v);
    SetGroup(kRf, r.rf, v);
}

bool ShowsMmsTestWindow(int type)
{
    return type >= 0 && type < static_cast<int>(std::size(kProductRules)) && kProductRules[type].mmsWindow;
}

std::string CReceiveText::Feed(std::string_view chunk)
{
    std::string out;
    out.reserve(chunk.size());
    for (char c : chunk) {
        if (c == '\n' && after_cr_) {  // the second half of a carriage return + line feed
            after_cr_ = false;
            continue;
        }
        after_cr_ = c == '\r';
        if (c == '\r' || c == '\n') out += '\n';
        else out += c == '\0' ? ' ' : c;
    }
    return out;
}

std::string_view LineEndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::None: return {};
    case LineEnd::Cr: return "\r";
    case LineEnd::Lf: return "\n";
    case LineEnd::CrLf: return "\r\n";
    }
    return {};
}

std::vector<std::string> TypedBlocks(std::string_view typed, LineEnd end)
{
    const std::string_view inner = end == LineEnd::None ? std::string_view("\r\n") : LineEndBytes(end);
    std::string text;
    text.reserve(typed.size() + typed.size() / 8 + 2);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        // A line break typed is a line feed, or a carriage return and line feed pasted in.
        if (typed[i] == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n') continue;
        if (typed[i] == '\n') text += inner;
        else text += typed[i];
    }
    text += LineEndBytes(end);
    std::vector<std::string> blocks;
    for (std::size_t at = 0; at < text.size(); at += kMaxWriteBlock) blocks.push_back(text.substr(at, kMaxWriteBlock));
    return blocks;
}

}  // namespace rtu::comm
