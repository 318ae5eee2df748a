// The export written as text as it goes gives the very bytes of the export's JSON tree
// dumped, whatever the pages hold.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pages/events/PageEvents.h"
#include "session/JsonText.h"
#include "session/Session.h"

using namespace rtu;

namespace {

struct Unit {
    CSession session{[](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr};

    // Every value of the given kind on every page.
    void ForEach(bool (*kind)(FieldKind), const std::function<void(CPageBase&, const FieldDecl&)>& fn)
    {
        for (const auto& page : session.Pages())
            for (const FieldDecl& f : page->Fields())
                if (kind(f.kind)) fn(*page, f);
    }
    void SetTexts(const std::string& text)
    {
        ForEach(HoldsText, [&](CPageBase& page, const FieldDecl& f) { page.Text(f.id) = text; });
    }
    void SetLists(const std::vector<std::vector<std::string>>& cells)
    {
        ForEach([](FieldKind k) { return k == FieldKind::List; },
                [&](CPageBase& page, const FieldDecl& f) { page.Value(f.id).cells = cells; });
    }
};

struct Case {
    const char* name;
    std::function<void(Unit&)> change;
    const char* shows = "";  // what the text must show, so that the case is not vacuous
    Secrets secrets = Secrets::Kept;
};

std::function<void(Unit&)> Texts(std::string text)
{
    return [text](Unit& u) {
        u.SetTexts(text);
        u.SetLists({{"0", text}, {text}});
    };
}

}  // namespace

TEST(JsonText, ExportTextIsTheDumpOfTheExportTree)
{
    const std::vector<Case> cases = {
        {"as built", [](Unit&) {}},
        {"plain text", Texts("RTU-7 +4915112340003")},
        {"empty text", Texts("")},
        {"control characters", Texts(std::string("a\x01\x1f\b\f\n\r\t\x7f z\0y", 14))},
        {"quotes and backslashes", Texts(R"(say "hi" \ \\n \u0041 /)")},
        {"UTF-8", Texts("Gr\xC3\xBC\xC3\x9F"
                        "e \xE2\x82\xAC \xF0\x9D\x84\x9E")},
        {"a byte that starts nothing", Texts("+49\xB3\xFF")},
        {"a sequence cut short", Texts("RTU\xC3")},
        {"a sequence cut short before ASCII", Texts("\xE2\x82(x")},
        {"an overlong form", Texts("\xC0\xAF\xE0\x80\xAF")},
        {"a surrogate", Texts("\xED\xA0\x80z"), "\xEF\xBF\xBD"},
        {"beyond U+10FFFF", Texts("\xF4\x90\x80\x80")},
        {"invalid bytes beside escapes", Texts("\xFF\n\"\x80\\\xC3")},
        {"selections and flags",
         [](Unit& u) {
             u.ForEach(HoldsSelection, [](CPageBase& p, const FieldDecl& f) { p.Sel(f.id) = 3; });
             u.ForEach([](FieldKind k) { return k == FieldKind::Check; },
                       [](CPageBase& p, const FieldDecl& f) { p.Check(f.id) = 7; });
         }},
        {"empty lists", [](Unit& u) { u.SetLists({}); }},
        {"lists of empty rows",
         [](Unit& u) {
             u.SetLists({{}, {}});
         },
         "[\n      [],\n      []\n    ]"},
        {"record rows",
         [](Unit& u) {
             u.session.HandleReceive("$TREC0001ET332026120810150002023.50,141.25,\r\n"
                                     "$TREC0001ET3320261208101600010\xFF.5,\r\n");
         },
         "\"41.25\""},
        {"extra values",
         [](Unit& u) {
             for (const auto& page : u.session.Pages())
                 if (auto* events = dynamic_cast<CPageEvents*>(page.get())) events->Add("12:00 door \"open\"");
         },
         "\"events\": \"1\""},
        {"masked secrets", [](Unit& u) { u.SetTexts("1234"); }, "\"********\"", Secrets::Masked},
    };
    for (const Case& c : cases) {
        Unit u;
        c.change(u);
        const std::string text = u.session.ExportJsonText(c.secrets);
        EXPECT_EQ(text, CSession::JsonText(u.session.ExportJson(c.secrets))) << c.name;
        EXPECT_NE(text.find(c.shows), std::string::npos) << c.name;
    }
}

TEST(JsonText, APageAndSomeOfItsFieldsAsTheirObjects)
{
    Unit u;
    u.SetTexts("x\xFFy");
    u.SetLists({{"1", "a"}});
    for (const auto& page : u.session.Pages()) {
        const nlohmann::json whole = CSession::PageJson(*page);
        std::string text;
        CJsonText out(text);
        EXPECT_EQ(CSession::WritePageJson(*page, out), whole.size()) << page->ClassName();
        EXPECT_EQ(text + "\n", CSession::JsonText(whole)) << page->ClassName();

        // Every other field, as a page's changed values are written.
        std::vector<const FieldDecl*> some;
        nlohmann::json expected = nlohmann::json::object();
        for (std::size_t i = 0; i < page->Fields().size(); i += 2) {
            some.push_back(&page->Fields()[i]);
            CSession::AddFieldJson(*page, page->Fields()[i], expected);
        }
        text.clear();
        CJsonText part(text);
        EXPECT_EQ(CSession::WriteFieldsJson(*page, some, part), expected.size()) << page->ClassName();
        EXPECT_EQ(text + "\n", CSession::JsonText(expected)) << page->ClassName();
    }
}

TEST(JsonText, NestedValuesAreIndentedAsTheDumpIndentsThem)
{
    std::string text;
    CJsonText out(text);
    out.BeginObject();
    out.Key("a");
    out.BeginArray();
    out.Number(-12);
    out.BeginObject();
    out.EndObject();
    out.BeginArray();
    out.String("\x1b");
    out.EndArray();
    out.EndArray();
    out.Key("b");
    out.BeginObject();
    out.Key("");
    out.Number(0);
    out.EndObject();
    out.EndObject();
    const nlohmann::json same = {{"a", {-12, nlohmann::json::object(), {"\x1b"}}}, {"b", {{"", 0}}}};
    EXPECT_EQ(text + "\n", CSession::JsonText(same));
}
