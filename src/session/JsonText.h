// Indented JSON text written as it goes, without building a tree of the values first. The
// bytes are those nlohmann's dump writes for the same values (indent 2, text kept as UTF-8,
// bytes that are not UTF-8 replaced by U+FFFD), provided the caller writes an object's
// members in key order and each key once, as a JSON object holds them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

class CJsonText {
public:
    // Appends to `out`, which must outlive the writer.
    explicit CJsonText(std::string& out) : out_(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // An object's member: its value is what is written next.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Number(long long n);

    // `text` quoted and escaped as a JSON string, appended to `out`.
    static void AppendString(std::string& out, std::string_view text);

private:
    void Open(char bracket);
    void Close(char bracket);
    void Value();  // before a value: the separator and indent an array element needs
    void Indent(std::size_t level);

    std::string& out_;
    std::vector<std::uint8_t> open_;  // per open object or array: 1 while it is still empty
    bool afterKey_ = false;           // a key was written and waits for its value
};

}  // namespace rtu
