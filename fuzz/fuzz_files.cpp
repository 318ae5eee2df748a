// The files the tool reads: the text catalog and profiles, plus the UCS-2 hex codec that
// free texts of both go through. The input is put into a file and read back the way the
// tool reads it; the profile's lines are executed through a session on a fake clock, the
// unit's answers chosen by the input's own bytes. The file lives in memory and the session
// is built once, so an input costs no disk access and no session set-up.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSession.h"
#include "link/ProfileReader.h"
#include "link/ProfileRunner.h"
#include "pages/framework/TextCatalog.h"
#include "pages/framework/Ucs2Hex.h"

namespace {

constexpr int kMaxSteps = 100000;  // a profile run that never ends is a fault
constexpr std::string_view kAnswers[] = {"CMD OK\r\n", "CMD ERR\r\n", "Please wait\r\n", "", "noise\r\nCMD OK\r\n"};

// An in-memory file that each input is written into; its path opens it afresh.
class CMemoryFile {
public:
    CMemoryFile() : fd_(::memfd_create("rtu_fuzz_files", 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
    ~CMemoryFile()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;

    const std::string& Path() const { return path_; }
    bool Write(std::string_view bytes)
    {
        if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
    std::string path_;
};

// Whether `s` is well-formed UTF-8.
bool IsUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t more = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b < 0x80) more = 0;
        else if (b >= 0xC2 && b <= 0xDF) more = 1;
        else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else return false;
        if (i + more >= s.size()) return false;  // the character runs past the end
        for (std::size_t k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return false;
        }
        i += more + 1;
    }
    return true;
}

void CheckCatalog(const std::string& path, std::string_view input)
{
    rtu::CTextCatalog catalog;
    catalog.Load(path);
    // A few fixed names, and the first "[section]" and "key=" of the input itself.
    std::string section = "Main", key = "Title";
    const std::size_t open = input.find('['), close = input.find(']', open == std::string_view::npos ? 0 : open);
    if (open != std::string_view::npos && close != std::string_view::npos) {
        section = std::string(input.substr(open + 1, close - open - 1));
        const std::size_t eq = input.find('=', close);
        if (eq != std::string_view::npos) {
            std::size_t start = input.rfind('\n', eq);
            start = start == std::string_view::npos || start < close ? close + 1 : start + 1;
            key = std::string(input.substr(start, eq - start));
        }
    }
    for (auto [s, k] : {std::pair<std::string_view, std::string_view>{section, key},
                        {"", ""},
                        {"MAIN", "title"},
                        {section, ""},
                        {"sys", "IDC_BUTTON1"}}) {
        const std::string text = catalog.GetText(s, k);
        if (text.size() > rtu::CTextCatalog::kMaxText) __builtin_trap();
        if (text.find('\0') != std::string::npos) __builtin_trap();
    }
    const std::string cut = rtu::CTextCatalog::CutText(input);
    if (cut.size() > rtu::CTextCatalog::kMaxText) __builtin_trap();
    if (IsUtf8(input) && !IsUtf8(cut)) __builtin_trap();  // a cut never splits a character
}

void CheckProfile(const std::string& path, std::string_view input)
{
    rtu::CProfileReader reader;
    if (!reader.ReadFile(path)) return;
    rtu::CProfileLines lines = reader.TakeLines();

    static rtu::fuzz::CFuzzSession fuzz(nullptr);
    fuzz.Reset();
    rtu::CSession& session = fuzz.Session();
    std::optional<rtu::ExecSummary> summary;
    auto drain = [&] {
        fuzz.Drain([&](const rtu::SessionEvent& e) {
            if (const auto* end = std::get_if<rtu::ev::ProfileEnded>(&e)) summary = end->summary;
        });
    };
    // A profile holding a masked secret is refused before anything is sent; any other one runs.
    const bool masked = !rtu::CSession::MaskedLines(lines).empty();
    if (session.ExecProfileLines(std::move(lines)) == masked) __builtin_trap();
    drain();
    if (masked) {
        if (fuzz.writes != 0) __builtin_trap();
        return;
    }

    std::size_t pick = 0;
    std::size_t answered = 0;  // writes that got their answer
    for (int step = 0; step < kMaxSteps && !summary; ++step) {
        if (fuzz.writes > answered) {
            answered = fuzz.writes;
            const std::string_view reply =
                input.empty()
                    ? kAnswers[0]
                    : kAnswers[static_cast<unsigned char>(input[pick++ % input.size()]) % std::size(kAnswers)];
            if (!reply.empty()) {
                session.HandleReceive(reply);
                drain();
                continue;
            }
        }
        const auto deadline = session.NextDeadline();
        if (!deadline) break;
        fuzz.now = std::max(fuzz.now, *deadline);
        session.HandleTime();
        drain();
    }
    if (!summary) __builtin_trap();  // the run must end
    if (summary->ok + summary->err + summary->unanswered != summary->sent) __builtin_trap();
    // Plus the start line, and the commit line unless the run was stopped before the end.
    if (fuzz.writes < static_cast<std::size_t>(summary->sent) + (summary->committed ? 2 : 1)) __builtin_trap();
    if (summary->committed == summary->stopped && summary->stop != rtu::ExecStop::Closing) __builtin_trap();
    // Nothing of this run outlives it.
    fuzz.Reset();
    if (session.ProfileRunning()) __builtin_trap();
}

// Code points in well-formed UTF-8.
std::size_t CountChars(std::string_view s)
{
    std::size_t n = 0;
    for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

void CheckUcs2(std::string_view input)
{
    const std::string hex = rtu::EncodeUcs2Hex(input);
    if (hex.size() % 4 != 0 || hex.size() > rtu::kUcs2MaxUnits * 4) __builtin_trap();
    const std::string back = rtu::DecodeUcs2Hex(hex);
    if (!IsUtf8(back) || CountChars(back) > rtu::kUcs2DecodedChars) __builtin_trap();
    // Well-formed text without a zero that fits comes back unchanged.
    if (IsUtf8(input) && input.find('\0') == std::string_view::npos && CountChars(input) <= rtu::kUcs2DecodedChars &&
        back != input)
        __builtin_trap();
    const std::string decoded = rtu::DecodeUcs2Hex(input);
    if (!IsUtf8(decoded) || CountChars(decoded) > rtu::kUcs2DecodedChars) __builtin_trap();
    if (rtu::DecodeUcs2Hex(rtu::EncodeUcs2Hex(decoded)) != decoded) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CMemoryFile file;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!file.Write(input)) return 0;
    CheckCatalog(file.Path(), input);
    CheckProfile(file.Path(), input);
    CheckUcs2(input);
    return 0;
}
