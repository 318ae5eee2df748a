// What a session writes out once received reports have filled its pages. Whatever the unit
// sent, the JSON export must be valid JSON that parses back to what was exported. The input
// is laid out as FuzzFeed.h describes; unless bit 7 of byte 0 is set, the profile sections
// are written as well.
//
// The whole export is checked once; after that, each input checks the values it changed:
// the others still hold the values already checked, the export is its pages' objects put
// side by side, and a page's object its values' members. The changed pages' objects are
// written side by side as the export writes them (as text, without a JSON tree) and checked
// together. The whole export so written is, once, the very text of its JSON tree dumped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "FuzzFeed.h"
#include "link/ProfileWriter.h"
#include "session/JsonText.h"

namespace {

constexpr std::uint8_t kSkipProfileBit = 0x80;  // in byte 0: no profile sections

// Counts the members of the top-level object and of the objects it holds while the text is
// parsed, without building it.
class CMemberCount : public nlohmann::json_sax<nlohmann::json> {
public:
    std::size_t members = 0;  // of the top-level object
    std::size_t inner = 0;    // of the objects directly inside it, all together
    bool object = false;      // the text is one object

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override
    {
        if (depth_++ == 0) object = true;
        return true;
    }
    bool key(string_t&) override
    {
        if (depth_ == 1) ++members;
        else if (depth_ == 2) ++inner;
        return true;
    }
    bool end_object() override
    {
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override
    {
        ++depth_;
        return true;
    }
    bool end_array() override
    {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    int depth_ = 0;
};

// The text must parse as JSON: one object with `members` members, whose objects hold
// `inner` members together.
void CheckJson(const std::string& text, std::size_t members, std::size_t inner)
{
    CMemberCount count;
    if (!nlohmann::json::sax_parse(text, &count) || !count.object || count.members != members || count.inner != inner)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    rtu::fuzz::CFuzzSession& fuzz = rtu::fuzz::SharedSession();
    static const bool wholeExportChecked = [&] {
        const nlohmann::json whole = fuzz.Session().ExportJson();
        std::size_t inner = 0;
        for (const auto& page : whole) inner += page.size();
        const std::string text = rtu::CSession::JsonText(whole);
        CheckJson(text, fuzz.Session().Pages().size(), inner);
        // The text written as it goes is the text of the tree.
        if (fuzz.Session().ExportJsonText() != text) __builtin_trap();
        return true;
    }();
    (void)wholeExportChecked;

    fuzz.Reset();
    rtu::fuzz::Feed(fuzz, data, size);

    // The changed pages side by side as in the export, each with the members this input may
    // have changed, written as the export writes them and parsed back once.
    const bool profile = !(data[0] & kSkipProfileBit);
    static std::string text;  // its room kept from one input to the next
    text.clear();
    rtu::CJsonText out(text);
    out.BeginObject();
    std::size_t pages = 0;
    std::size_t members = 0;
    static std::vector<const rtu::FieldDecl*> fields;
    rtu::CProfileWriter writer;  // never opened: collects the text only
    fuzz.ForEachChangedPage([&](rtu::CPageBase& page, const std::vector<int>& changed) {
        // The page's object is its values' members side by side: each changed text (a number
        // or a flag is JSON whatever it holds) is checked. A page whose export holds more than
        // its values is checked whole.
        out.Key(page.ClassName());
        ++pages;
        if (changed.empty()) {
            members += rtu::CSession::WritePageJson(page, out);
        } else {
            fields.clear();
            for (const int id : changed)
                if (const rtu::FieldDecl* f = page.FindField(id);
                    f && (rtu::HoldsText(f->kind) || f->kind == rtu::FieldKind::List))
                    fields.push_back(f);
            members += rtu::CSession::WriteFieldsJson(page, fields, out);
        }
        if (profile && page.Info()->profileOrder > 0) page.WriteProfileSection(writer);
    });
    out.EndObject();
    if (pages > 0) CheckJson(text, pages, members);
    return 0;
}
