// The test console's tables: the command buttons of the test panel (what each sends, whether
// it empties the receive pane first, which product groups show it), the product types and
// the visibility each one applies, and the small text rules of the two console panes.
// Plain data and functions; the console window only lays them out and forwards presses.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rtu::comm {

// Control ids of the console (as the unit's service tool numbers them).
namespace id {
inline constexpr int kReceivePane = 1085;
inline constexpr int kSendPane = 1086;
inline constexpr int kSend = 1087;
inline constexpr int kClear = 1029;
inline constexpr int kClear2 = 1011;  // second Clear, on the test panel
inline constexpr int kAutoClear = 1338;
inline constexpr int kSmsNumber = 1251;
inline constexpr int kVoiceNumber = 1252;
inline constexpr int kMmsNumber = 1253;
inline constexpr int kProductType = 1311;
inline constexpr int kProductLabel = 1319;
inline constexpr int kProductFrame = 1318;
inline constexpr int kSoundSlot = 1530;
inline constexpr int kDownload = 1498;
inline constexpr int kForeignMmsc = 1044;  // no action
inline constexpr int kChinaMmsc = 1047;    // no action
inline constexpr int kAutoTest = 1449;     // no action
inline constexpr int kResultEdit = 1269;   // test result panel
inline constexpr int kAtf = 1009;
inline constexpr int kInfrared = 1442;
inline constexpr int kFlashTest = 1048;
inline constexpr int kMmsTest = 1036;
inline constexpr int kCameraTest = 1043;
inline constexpr int kExtTemp = 1019;
inline constexpr int kIntTemp = 1013;
}  // namespace id

// Product groups that show test controls (bit set).
enum Group : unsigned {
    kNever = 0,
    kBasic = 1u << 0,
    kAnalog = 1u << 1,
    kCamera = 1u << 2,
    kRf = 1u << 3,
    kCameraOff = 1u << 4,
    kType4Only = 1u << 5,  // shown by product type 4 alone (external temperature)
};

// Which test number a command takes as its argument.
enum class NumberArg { None, Sms, Voice, Mms };

// What a button does besides writing its command lines.
enum class Action {
    Send,          // writes its lines
    ClearResults,  // writes its lines and empties the test result panel (ATF)
    FlashNote,     // writes its line, then tells the user to run ATF again
    Infrared,      // toggles the infrared light (two commands, two captions)
    Download,      // the sound file download
    None,          // a button without an action
};

inline constexpr std::size_t kMaxLinesPerButton = 3;  // most command lines one button writes

struct TestCommand {
    int id;
    const char* caption;                                  // English caption
    std::array<const char*, kMaxLinesPerButton> formats;  // printf formats, one write each
    NumberArg arg;
    bool clears;      // empties the receive pane first
    unsigned groups;  // Group bits; kNever: never shown
    Action action;
};

// Every button of the test panel, in panel order.
std::span<const TestCommand> TestCommands();
const TestCommand* FindTestCommand(int id);

// The three test numbers as typed.
struct TestNumbers {
    std::string sms;    // 1251
    std::string voice;  // 1252
    std::string mms;    // 1253
};

// The number a command needs (empty when it needs none).
const std::string& NumberFor(const TestCommand& command, const TestNumbers& numbers);
// The blocks a press writes, one per format, the number put in where the format asks.
std::vector<std::string> CommandBlocks(const TestCommand& command, const TestNumbers& numbers);

inline constexpr const char* kEnterNumber = "请输入测试号!";  // a needed test number is empty
inline constexpr const char* kFlashNote = "测试Flash后请重新 ATF!!!!!!!!!\r\n";

// The infrared light: one flag, 1 at start. A press sends the command for the flag's state,
// flips it and shows the caption for the next press.
class CInfraredToggle {
public:
    static constexpr const char* kOnCommand = "%IFLEDON\r";
    static constexpr const char* kOffCommand = "%IFLEDOFF\r";
    static constexpr const char* kOnCaption = "开红外";
    static constexpr const char* kOffCaption = "关红外";

    // The command to write for this press; the flag flips.
    std::string Press();
    const char* Caption() const { return next_on_ ? kOnCaption : kOffCaption; }

private:
    bool next_on_ = true;
};

// ---- product types and visibility ---------------------------------------------------------

inline constexpr int kNoProductType = -1;
inline constexpr std::array<const char*, 6> kProductTypes = {
    "Basic unit",
    "Unit with analog test",
    "Camera unit full test",
    "Camera unit after installation",
    "Unit with external temperature",
    "Unit with RF remote",
};

// Control id -> shown. Holds every control the product groups decide about.
using Visibility = std::map<int, bool>;

// The controls of one group.
std::span<const int> GroupMembers(Group group);
// Every control the groups decide about (the union of the groups and their extra rules).
std::vector<int> GroupControls();
// The visibility when the panel is built: every group hidden.
Visibility InitialVisibility();
// Applies a confirmed product type to the current visibility. Controls a type says nothing
// about keep their state. kNoProductType hides every group.
void ApplyProductType(int type, Visibility& visibility);
// Types 2 and 3 (camera units) also bring up the MMS test window.
bool ShowsMmsTestWindow(int type);

// ---- console panes -----------------------------------------------------------------------

inline constexpr int kAutoClearLines = 150;          // the receive pane empties at this many lines
inline constexpr std::size_t kMaxWriteBlock = 1024;  // longest block the port takes in one write

// The receive pane's text rules: a NUL shows as a blank; a line ends at a carriage return,
// a line feed or the pair of them (a pair split over two chunks is still one line end).
// Line ends come out as '\n'.
class CReceiveText {
public:
    std::string Feed(std::string_view chunk);
    // The pane was emptied.
    void Reset() { after_cr_ = false; }

private:
    bool after_cr_ = false;  // the last byte fed was a carriage return
};

// What Send and Enter add after the typed text, in the order the console offers them.
enum class LineEnd { None, Cr, Lf, CrLf };
inline constexpr LineEnd kDefaultLineEnd = LineEnd::CrLf;
std::string_view LineEndBytes(LineEnd end);

// Text typed in the send pane as the unit gets it: each line break inside it is the chosen
// line end (a carriage return and line feed when the choice is none), and the chosen line
// end follows the text. Long text is split into blocks the port takes whole.
std::vector<std::string> TypedBlocks(std::string_view typed, LineEnd end = LineEnd::None);

}  // namespace rtu::comm
