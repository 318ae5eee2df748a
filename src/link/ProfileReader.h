// Reads a profile file as a stream: checks that it is text, cuts it into lines (a lone
// carriage return, a lone line feed and the pair each end a line) and keeps only what
// execution needs, compactly: command lines, note lines and a mark for each command line
// too long to be sent whole. Empty lines and other text are dropped here; a direct repeat is
// kept only as a mark, so that a run's record can name it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

enum class ProfileLineKind : char {
    Command = 'C',  // "%…": sent with a carriage return appended
    Note = 'N',     // "\\…": shown only
    Refused = 'R',   // a command line too long for one block: counted, not sent
    Repeated = 'D',  // a command line equal to the line before it: not sent again (recorded only)
    Header = 'H',    // "//…": a page section's header, kept only when asked for (comparing)
};

struct ProfileLine {
    ProfileLineKind kind;
    std::string_view text;  // the line; for a refused line only its first bytes
};

// The kept lines of a profile, one after another in one buffer: a kind byte, the text and a
// line feed each. Lines never hold carriage returns or line feeds.
class CProfileLines {
public:
    void Add(ProfileLineKind kind, std::string_view text);
    // The line at `offset` (start with 0); advances `offset`. False at the end.
    bool Next(std::size_t& offset, ProfileLine& line) const;
    std::size_t Count() const { return count_; }
    std::size_t CountOf(ProfileLineKind kind) const;
    bool Empty() const { return count_ == 0; }
    std::size_t Bytes() const { return data_.size(); }

private:
    std::string data_;
    std::size_t count_ = 0;
};

class CProfileReader {
public:
    static constexpr std::size_t kMaxFileBytes = 10u * 1024 * 1024;  // a profile is a few KB; larger files are refused
    static constexpr std::size_t kBlockBytes = 1024;                 // longest block the port writes in one piece
    static constexpr std::size_t kMaxCommandBytes =
        kBlockBytes - 1;                                  // a command line plus its carriage return fit a block
    static constexpr std::size_t kRefusedPreview = 40;    // bytes of a refused line kept for showing
    static constexpr std::size_t kReadChunk = 64 * 1024;  // bytes read from the file at a time

    enum class Error { None, CannotOpen, TooLarge, NulByte, NotText, ReadFailed };

    // Feeds the next bytes of the file; false once the file was found unfit (see GetError).
    bool Feed(std::string_view bytes);
    // The end of the file: the last line (if unterminated) is taken; false when unfit.
    bool Finish();
    Error GetError() const { return error_; }
    // Why the file was refused, for the user.
    std::string ErrorText() const;
    // The kept lines (valid after Finish).
    const CProfileLines& Lines() const { return lines_; }
    CProfileLines TakeLines() { return std::move(lines_); }
    // Line numbers (from 1) of the command lines too long to be sent.
    const std::vector<std::uint32_t>& RefusedLineNumbers() const { return refusedAt_; }

    // Reads a whole file with the rules above, never holding more than a chunk of raw bytes;
    // regular files over the limit are refused before reading, other files once they pass it.
    bool ReadFile(const std::string& path);
    // The same for lines already cut (each may still hold carriage returns and line feeds,
    // which are removed).
    static CProfileLines FromLines(const std::vector<std::string>& lines);
    // Keeps the "//" header lines too (before the first Feed): profiles read for comparing.
    void KeepHeaders(bool keep) { keepHeaders_ = keep; }
    // Reads profile text already in memory with the same rules; false when it is unfit.
    bool ReadText(std::string_view text);

private:
    enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be };

    bool Fail(Error error);
    bool Begin();
    bool FeedUtf8(std::string_view bytes);
    bool FeedUtf16(std::string_view bytes);
    bool CheckUtf8(unsigned char byte);
    void Text(std::string_view text);
    void EndLine();
    void TakeLine(std::string_view line);

    Error error_ = Error::None;
    std::string errorDetail_;  // the system's reason when the file could not be read
    Encoding encoding_ = Encoding::Unknown;
    std::size_t total_ = 0;
    std::string head_;       // the first bytes, until the encoding is known
    std::string pending16_;  // an odd byte of a UTF-16 code unit
    std::uint32_t highSurrogate_ = 0;
    int utf8Need_ = 0;                                // continuation bytes still expected
    unsigned char utf8Low_ = 0x80, utf8High_ = 0xBF;  // range of the next continuation byte
    bool afterCr_ = false;                            // the last byte was a carriage return (a line feed joins it)
    std::string line_;                                // the line being read
    std::string previous_;                            // the last non-empty line (a direct repeat is dropped)
    bool havePrevious_ = false;
    bool keepHeaders_ = false;
    std::uint32_t lineNo_ = 0;
    CProfileLines lines_;
    std::vector<std::uint32_t> refusedAt_;
};

}  // namespace rtu
