// Finding which of a list of report keys a line may hold without trying them all.
//
// Nearly every report key starts with a mark ('$' or '*'), so such a key can only stand at
// one of the line's marks, and its first three characters are among the heads found there.
// A line meets a handful of the keys; the index leaves the others untried.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace rtu {

// The pairs of neighbouring characters a text holds, as a set of their hashes: a text that
// lacks one pair of a key cannot hold the key, so most keys are ruled out without a search.
class CharPairs {
public:
    CharPairs() = default;
    explicit CharPairs(std::string_view text)
    {
        for (std::size_t i = 1; i < text.size(); ++i) Add(text[i - 1], text[i]);
    }
    // Whether `key` may be in the text (false: it certainly is not).
    bool MayHold(std::string_view key) const
    {
        if (key.size() < 2) return true;
        return Has(key[0], key[1]) && Has(key[key.size() - 2], key[key.size() - 1]);
    }

private:
    static constexpr std::size_t Hash(char a, char b)
    {
        return (static_cast<unsigned char>(a) * 37u + static_cast<unsigned char>(b)) & 255u;
    }
    void Add(char a, char b)
    {
        const std::size_t h = Hash(a, b);
        bits_[h / 64] |= std::uint64_t{1} << (h % 64);
    }
    bool Has(char a, char b) const
    {
        const std::size_t h = Hash(a, b);
        return (bits_[h / 64] >> (h % 64)) & 1u;
    }
    std::array<std::uint64_t, 4> bits_{};
};

// A line with the positions of its marks and the character pairs it holds.
struct MarkedLine {
    static constexpr std::size_t kMaxMarks = 32;  // more marks than this: every key is tried
    std::string_view text;
    std::array<std::size_t, kMaxMarks> marks{};
    std::size_t count = 0;
    bool plainSearch = false;
    CharPairs pairs;

    static constexpr bool IsMark(char c) { return c == '$' || c == '*'; }

    explicit MarkedLine(std::string_view line) : text(line), pairs(line)
    {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!IsMark(line[i])) continue;
            if (count == kMaxMarks) {
                plainSearch = true;
                return;
            }
            marks[count++] = i;
        }
    }

    // Whether the line holds `key` anywhere (an empty key is always held).
    bool Contains(std::string_view key) const
    {
        if (key.empty()) return true;
        if (!pairs.MayHold(key)) return false;
        if (plainSearch || !IsMark(key[0])) return text.find(key) != std::string_view::npos;
        for (std::size_t i = 0; i < count; ++i) {
            // Most marks differ from the key in the first two characters: no full compare then.
            const std::size_t at = marks[i];
            if (text[at] != key[0] || (key.size() > 1 && (at + 1 >= text.size() || text[at + 1] != key[1]))) continue;
            if (text.substr(at, key.size()) == key) return true;
        }
        return false;
    }
};

// A set of positions in a key list.
class KeySet {
public:
    static constexpr std::size_t kMaxKeys = 256;  // positions a set can hold
    void Add(std::size_t at) { words_[at / 64] |= std::uint64_t{1} << (at % 64); }
    void Add(const KeySet& other)
    {
        for (std::size_t w = 0; w < kWords; ++w) words_[w] |= other.words_[w];
    }
    // Calls fn(at) in ascending order until it returns true; returns whether one did.
    template <class Fn> bool FirstOf(Fn&& fn) const
    {
        for (std::size_t w = 0; w < kWords; ++w)
            for (std::uint64_t bits = words_[w]; bits != 0; bits &= bits - 1)
                if (fn(w * 64 + static_cast<std::size_t>(std::countr_zero(bits)))) return true;
        return false;
    }

private:
    static constexpr std::size_t kWords = kMaxKeys / 64;
    std::array<std::uint64_t, kWords> words_{};
};

// The positions of a key list by the heads (mark and two more characters) of their keys.
// A position may have several keys; one that cannot be indexed is always a candidate.
class KeyIndex {
public:
    static constexpr std::size_t kBuckets = 1024;  // buckets of the three-character heads

    // Adds `key` at position `at`; a list longer than a KeySet holds is a programming error.
    void Add(std::size_t at, std::string_view key)
    {
        if (at >= KeySet::kMaxKeys) throw std::logic_error("more report keys than their index holds");
        all_.Add(at);
        if (Indexable(key)) byHead_[Bucket(key)].Add(at);
        else always_.Add(at);
    }

    // The positions worth trying on `line`: every one when the line has too many marks to tell.
    KeySet Candidates(const MarkedLine& line) const
    {
        if (line.plainSearch) return all_;
        KeySet keys = always_;
        for (std::size_t i = 0; i < line.count; ++i) {
            const std::string_view head = line.text.substr(line.marks[i], 3);
            if (head.size() == 3) keys.Add(byHead_[Bucket(head)]);
        }
        return keys;
    }

private:
    static bool Indexable(std::string_view key) { return key.size() >= 3 && MarkedLine::IsMark(key[0]); }
    static std::size_t Bucket(std::string_view key)
    {
        std::size_t h = 0;
        for (std::size_t i = 0; i < 3; ++i) h = h * 131 + static_cast<unsigned char>(key[i]);
        return h % kBuckets;
    }

    std::array<KeySet, kBuckets> byHead_{};
    KeySet always_;
    KeySet all_;
};

}  // namespace rtu
