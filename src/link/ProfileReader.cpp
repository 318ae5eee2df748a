#include "link/ProfileReader.h"

#include "link/Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rtu {

// --- CProfileLines ---

void CProfileLines::Add(ProfileLineKind kind, std::string_view text)
{
    data_ += static_cast<char>(kind);
    data_ += text;
    data_ += '\n';
    ++count_;
}

bool CProfileLines::Next(std::size_t& offset, ProfileLine& line) const
{
    if (offset >= data_.size()) return false;
    const std::size_t end = data_.find('\n', offset + 1);
    line.kind = static_cast<ProfileLineKind>(data_[offset]);
    line.text = std::string_view(data_).substr(offset + 1, end - offset - 1);
    offset = end + 1;
    return true;
}

std::size_t CProfileLines::CountOf(ProfileLineKind kind) const
{
    std::size_t n = 0, offset = 0;
    ProfileLine line{};
    while (Next(offset, line))
        if (line.kind == kind) ++n;
    return n;
}

// --- CProfileReader ---

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

}  // namespace

bool CProfileReader::Fail(Error error)
{
    if (error_ == Error::None) error_ = error;
    line_.clear();
    line_.shrink_to_fit();
    previous_.clear();
    previous_.shrink_to_fit();
    return false;
}

std::string CProfileReader::ErrorText() const
{
    switch (error_) {
    case Error::None: return {};
    case Error::CannotOpen: return "cannot open the file: " + errorDetail_;
    case Error::ReadFailed: return "reading the file failed: " + errorDetail_;
    case Error::TooLarge: return "the file is larger than 10 MB; a profile is a text file of a few KB";
    case Error::NulByte: return "the file holds NUL bytes; it is not a profile (a profile is a text file)";
    case Error::NotText:
        return "the file is not valid text (UTF-8, or UTF-16 with a byte order mark); it is not a profile";
    }
    return {};
}

// The first bytes are in: the byte order mark (if any) names the encoding.
bool CProfileReader::Begin()
{
    std::string head;
    head.swap(head_);
    if (head.starts_with(kUtf16LeBom)) {
        encoding_ = Encoding::Utf16Le;
        return FeedUtf16(std::string_view(head).substr(kUtf16LeBom.size()));
    }
    if (head.starts_with(kUtf16BeBom)) {
        encoding_ = Encoding::Utf16Be;
        return FeedUtf16(std::string_view(head).substr(kUtf16BeBom.size()));
    }
    encoding_ = Encoding::Utf8;
    return FeedUtf8(head.starts_with(kUtf8Bom) ? std::string_view(head).substr(kUtf8Bom.size()) : head);
}

bool CProfileReader::Feed(std::string_view bytes)
{
    if (error_ != Error::None) return false;
    total_ += bytes.size();
    if (total_ > kMaxFileBytes) return Fail(Error::TooLarge);
    if (encoding_ == Encoding::Unknown) {
        // The byte order mark decides; three bytes tell every kind apart.
        head_.append(bytes);
        if (head_.size() < kUtf8Bom.size()) return true;
        return Begin();
    }
    return encoding_ == Encoding::Utf8 ? FeedUtf8(bytes) : FeedUtf16(bytes);
}

// One byte of UTF-8: rejects NUL, stray continuation bytes, overlong forms, surrogates and
// code points above U+10FFFF.
bool CProfileReader::CheckUtf8(unsigned char b)
{
    if (utf8Need_ > 0) {
        if (b < utf8Low_ || b > utf8High_) return Fail(Error::NotText);
        --utf8Need_;
        utf8Low_ = 0x80;
        utf8High_ = 0xBF;
        return true;
    }
    if (b == 0) return Fail(Error::NulByte);
    if (b < 0x80) return true;
    if (b >= 0xC2 && b <= 0xDF) utf8Need_ = 1;
    else if (b >= 0xE0 && b <= 0xEF) utf8Need_ = 2;
    else if (b >= 0xF0 && b <= 0xF4) utf8Need_ = 3;
    else return Fail(Error::NotText);
    if (b == 0xE0) utf8Low_ = 0xA0;
    else if (b == 0xED) utf8High_ = 0x9F;
    else if (b == 0xF0) utf8Low_ = 0x90;
    else if (b == 0xF4) utf8High_ = 0x8F;
    return true;
}

bool CProfileReader::FeedUtf8(std::string_view bytes)
{
    for (char c : bytes)
        if (!CheckUtf8(static_cast<unsigned char>(c))) return false;
    Text(bytes);
    return true;
}

bool CProfileReader::FeedUtf16(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3 / 2 + 4);
    std::size_t i = 0;
    auto byteAt = [&](std::size_t k) -> std::uint32_t {
        // The odd byte kept from the previous chunk comes first.
        const char c = k < pending16_.size() ? pending16_[k] : bytes[k - pending16_.size()];
        return static_cast<unsigned char>(c);
    };
    const std::size_t available = pending16_.size() + bytes.size();
    for (; i + 1 < available; i += 2) {
        const std::uint32_t a = byteAt(i), b = byteAt(i + 1);
        const std::uint32_t unit = encoding_ == Encoding::Utf16Le ? (b << 8 | a) : (a << 8 | b);
        if (highSurrogate_ != 0) {
            if (unit < 0xDC00 || unit > 0xDFFF) return Fail(Error::NotText);
            AppendUtf8(text, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_ = 0;
        } else if (unit == 0) {
            return Fail(Error::NulByte);
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return Fail(Error::NotText);
        } else {
            AppendUtf8(text, unit);
        }
    }
    std::string rest;
    if (i < available) rest += static_cast<char>(byteAt(i));
    pending16_ = std::move(rest);
    Text(text);
    return true;
}

void CProfileReader::Text(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end != 0) afterCr_ = false;
        line_.append(text.substr(0, end));
        if (end == std::string_view::npos) return;
        const char mark = text[end];
        text.remove_prefix(end + 1);
        if (mark == '\n' && afterCr_) {
            afterCr_ = false;  // the line feed of a carriage return + line feed pair
            continue;
        }
        afterCr_ = mark == '\r';
        EndLine();
    }
}

void CProfileReader::EndLine()
{
    ++lineNo_;
    TakeLine(line_);
    line_.clear();
}

// The first bytes of a line, whole characters only.
static std::string_view Preview(std::string_view line)
{
    if (line.size() <= CProfileReader::kRefusedPreview) return line;
    std::size_t cut = CProfileReader::kRefusedPreview;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return line.substr(0, cut);
}

// The rules of execution that need no unit: empty lines are dropped, a direct repeat of the
// previous non-empty line is marked as repeated (never sent), then only command and note
// lines (and headers when asked for) are kept.
void CProfileReader::TakeLine(std::string_view line)
{
    if (line.empty()) return;
    if (havePrevious_ && line == previous_) {
        // Kept short: a repeat is only named in the run's record.
        if (line.front() == '%') lines_.Add(ProfileLineKind::Repeated, Preview(line));
        return;
    }
    previous_.assign(line);
    havePrevious_ = true;
    if (keepHeaders_ && line.starts_with("//")) {
        lines_.Add(ProfileLineKind::Header, line);
    } else if (line.starts_with("\\\\")) {
        lines_.Add(ProfileLineKind::Note, line);
    } else if (line.front() == '%') {
        if (line.size() <= kMaxCommandBytes) {
            lines_.Add(ProfileLineKind::Command, line);
            return;
        }
        lines_.Add(ProfileLineKind::Refused, Preview(line));
        refusedAt_.push_back(lineNo_);
    }
}

bool CProfileReader::Finish()
{
    if (error_ != Error::None) return false;
    if (encoding_ == Encoding::Unknown) {
        if (!Begin()) return false;  // a file shorter than three bytes
    }
    if (utf8Need_ > 0 || !pending16_.empty() || highSurrogate_ != 0) return Fail(Error::NotText);
    if (!line_.empty()) EndLine();
    previous_.clear();
    previous_.shrink_to_fit();
    line_.shrink_to_fit();
    return true;
}

bool CProfileReader::ReadFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        errorDetail_ = std::strerror(errno);
        return Fail(Error::CannotOpen);
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes) {
        ::close(fd);
        return Fail(Error::TooLarge);
    }
    std::string buffer(kReadChunk, '\0');
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            errorDetail_ = std::strerror(errno);
            ::close(fd);
            return Fail(Error::ReadFailed);
        }
        if (n == 0) break;
        if (!Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return Finish();
}

bool CProfileReader::ReadText(std::string_view text)
{
    if (text.size() > kMaxFileBytes) return Fail(Error::TooLarge);
    return Feed(text) && Finish();
}

CProfileLines CProfileReader::FromLines(const std::vector<std::string>& lines)
{
    CProfileReader reader;
    std::string line;
    for (const std::string& raw : lines) {
        line.clear();
        for (char c : raw)
            if (c != '\r' && c != '\n') line += c;
        ++reader.lineNo_;
        reader.TakeLine(line);
    }
    return reader.TakeLines();
}

}  // namespace rtu
