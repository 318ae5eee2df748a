#include "link/SecretMask.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "link/WireTrace.h"

namespace rtu {
namespace {

constexpr std::size_t kStampChars = 23;      // "2026-12-08 03:40:01.123" before a trace line's direction
constexpr std::size_t kMaxLineLook = 256;    // bytes of a stream's current line kept for finding keys and prompts
// What the unit says when it wants the console password, or has just refused it: the tool's
// next block is the password.
constexpr std::array<std::string_view, 3> kPasswordPrompts = {"please input password", "please login",
                                                              "login failed"};
// Settings keys whose values are passwords: those that name one, and the console password's.
constexpr std::array<std::string_view, 3> kPasswordKeyParts = {"pass", "pwd", "svrip"};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// One direction of the wire, followed across the trace's lines.
struct Stream {
    std::string line;       // the current line so far (its last kMaxLineLook bytes)
    bool masking = false;   // inside a secret value: dropped up to the line's end
    bool maskShown = false;  // the mask of the current value is written
};

class CTraceMasker {
public:
    explicit CTraceMasker(const SecretMarks& marks) : marks_(marks) {}

    // The payload of one block or chunk, masked.
    std::string Mask(char direction, const std::string& bytes)
    {
        if (direction == static_cast<char>(CWireTrace::Direction::Sent) && passwordNext_) {
            passwordNext_ = false;
            const std::size_t end = bytes.find_first_of("\r\n");
            if (end != 0) return std::string(kSecretMask) + (end == std::string::npos ? "" : bytes.substr(end));
        }
        Stream& s = direction == static_cast<char>(CWireTrace::Direction::Sent) ? sent_ : received_;
        std::string out;
        for (const char c : bytes) {
            if (s.masking && !IsLineEnd(c)) {
                if (!s.maskShown) out += kSecretMask;
                s.maskShown = true;
                continue;
            }
            s.masking = false;
            out += c;
            if (IsLineEnd(c)) {
                s.line.clear();
                continue;
            }
            s.line += c;
            if (s.line.size() > kMaxLineLook) s.line.erase(0, s.line.size() - kMaxLineLook);
            if (EndsWithKey(s.line)) {
                s.masking = true;
                s.maskShown = false;
                s.line.clear();
            } else if (&s == &received_ && EndsWithPrompt(s.line)) {
                passwordNext_ = true;
            }
        }
        for (const std::string& value : marks_.values) ReplaceAll(out, value);
        return out;
    }

private:
    bool EndsWithKey(std::string_view line) const
    {
        return std::any_of(marks_.keys.begin(), marks_.keys.end(), [&](const std::string& k) { return line.ends_with(k); });
    }

    static bool EndsWithPrompt(std::string_view line)
    {
        for (const std::string_view prompt : kPasswordPrompts)
            if (line.size() >= prompt.size() && Lower(line.substr(line.size() - prompt.size())) == prompt) return true;
        return false;
    }

    static void ReplaceAll(std::string& text, const std::string& value)
    {
        for (std::size_t at = text.find(value); at != std::string::npos; at = text.find(value, at + kSecretMask.size()))
            text.replace(at, value.size(), kSecretMask);
    }

    const SecretMarks& marks_;
    Stream sent_, received_;
    bool passwordNext_ = false;  // the unit asked for the password: the next block sent is it
};

}  // namespace

void SecretMarks::AddKey(std::string_view key)
{
    if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end()) keys.emplace_back(key);
}

void SecretMarks::AddValue(std::string_view value)
{
    if (value.size() >= kMinValueLength && std::find(values.begin(), values.end(), value) == values.end())
        values.emplace_back(value);
}

std::string MaskTrace(std::string_view trace, const SecretMarks& marks)
{
    CTraceMasker masker(marks);
    std::string out;
    out.reserve(trace.size());
    std::size_t start = 0;
    while (start < trace.size()) {
        std::size_t end = trace.find('\n', start);
        if (end == std::string_view::npos) end = trace.size();
        const std::string_view line = trace.substr(start, end - start);
        const bool chunk = line.size() >= kStampChars + 2 && line[kStampChars] == ' ' &&
                           (line.size() == kStampChars + 2 || line[kStampChars + 2] == ' ') &&
                           (line[kStampChars + 1] == '<' || line[kStampChars + 1] == '>');
        if (chunk) {
            const std::size_t payloadAt = std::min(line.size(), kStampChars + 3);
            out += line.substr(0, payloadAt);
            out += CWireTrace::Escape(
                masker.Mask(line[kStampChars + 1], CWireTrace::Unescape(line.substr(payloadAt))));
        } else {
            out += line;
        }
        if (end < trace.size()) out += '\n';
        start = end + 1;
    }
    return out;
}

std::string MaskSettings(std::string_view settings, SecretMarks* masked)
{
    std::string out;
    std::size_t start = 0;
    while (start < settings.size()) {
        std::size_t end = settings.find('\n', start);
        if (end == std::string_view::npos) end = settings.size();
        std::string line(settings.substr(start, end - start));
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && eq + 1 < line.size()) {
            const std::string key = Lower(line.substr(0, eq));
            const bool secret = std::any_of(kPasswordKeyParts.begin(), kPasswordKeyParts.end(),
                                            [&](std::string_view part) { return key.find(part) != std::string::npos; });
            if (secret) {
                std::string value = line.substr(eq + 1);
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
                if (masked) masked->AddValue(value);
                line = line.substr(0, eq + 1) + std::string(kSecretMask);
            }
        }
        out += line;
        if (end < settings.size()) out += '\n';
        start = end + 1;
    }
    return out;
}

}  // namespace rtu
