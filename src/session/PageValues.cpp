#include "session/PageValues.h"

#include <limits>
#include <map>
#include <set>

namespace rtu {
namespace {

std::string KeyOf(const FieldDecl& f) { return f.id > 0 || f.jsonKey.empty() ? std::to_string(f.id) : f.jsonKey; }

const char* KindWanted(FieldKind kind)
{
    if (HoldsText(kind)) return "a text (a JSON string)";
    if (kind == FieldKind::Check) return "0 or 1";
    if (HoldsSelection(kind)) return "a whole number (the item's index, -1 for none)";
    return "a table (a list of rows, each a list of texts)";
}

const char* TypeName(const nlohmann::json& v)
{
    if (v.is_string()) return "a string";
    if (v.is_boolean()) return "true or false";
    if (v.is_number_integer()) return "a whole number";
    if (v.is_number()) return "a number";
    if (v.is_array()) return "a list";
    if (v.is_object()) return "an object";
    return "null";
}

bool IsTable(const nlohmann::json& v)
{
    if (!v.is_array()) return false;
    for (const auto& row : v) {
        if (!row.is_array()) return false;
        for (const auto& cell : row)
            if (!cell.is_string()) return false;
    }
    return true;
}

// Why `v` cannot be the value of `f` as the page holds it now; empty when it can.
std::string Misfit(const FieldDecl& f, const FieldValue& now, const nlohmann::json& v)
{
    const std::string wanted = std::string(KindWanted(f.kind)) + " is expected, not " + TypeName(v);
    if (HoldsText(f.kind)) return v.is_string() ? "" : wanted;
    if (f.kind == FieldKind::Check) {
        if (v.is_boolean() || (v.is_number_integer() && (v == 0 || v == 1))) return "";
        return v.is_number_integer() ? "0 or 1 is expected, not " + v.dump() : wanted;
    }
    if (HoldsSelection(f.kind)) {
        if (!v.is_number_integer()) return wanted;
        const auto n = v.get<long long>();
        return n >= -1 && n <= std::numeric_limits<int>::max() ? "" : "an index from -1 up is expected, not " + v.dump();
    }
    if (!IsTable(v)) return wanted;
    if (now.cells.empty()) return "";  // a list whose rows come and go takes any number of rows
    if (v.size() != now.cells.size())
        return "the list has " + std::to_string(now.cells.size()) + " rows, not " + std::to_string(v.size());
    for (std::size_t r = 0; r < v.size(); ++r)
        if (v[r].size() != now.cells[r].size())
            return "row " + std::to_string(r) + " has " + std::to_string(now.cells[r].size()) + " columns, not " +
                   std::to_string(v[r].size());
    return "";
}

void Put(CPageBase& page, const FieldDecl& f, const nlohmann::json& v)
{
    FieldValue& value = page.Value(f.id);
    if (HoldsText(f.kind)) value.text = v.get<std::string>();
    else if (f.kind == FieldKind::Check) value.check = v.is_boolean() ? (v.get<bool>() ? 1 : 0) : v.get<int>();
    else if (HoldsSelection(f.kind)) value.sel = v.get<int>();
    else value.cells = v.get<std::vector<std::vector<std::string>>>();
}

void Problem(std::vector<std::string>& problems, std::string text)
{
    if (problems.size() < kMaxValueProblems) problems.push_back(std::move(text));
    else if (problems.size() == kMaxValueProblems) problems.push_back("… and more");
}

}  // namespace

void CopyPageValues(const CSession& from, CSession& to)
{
    for (const auto& source : from.Pages()) {
        CPageBase* page = to.Page(source->ClassName());
        if (!page) continue;
        for (const FieldDecl& f : source->Fields())
            if (HoldsValue(f.kind)) page->Value(f.id) = source->ValueOf(f.id);
        page->SetLoaded(source->Loaded());
        page->ClearEdited();
        page->NotifyChanged();
    }
}

bool ApplyPageValues(CSession& session, const nlohmann::json& values, std::vector<std::string>& problems)
{
    problems.clear();
    if (!values.is_object()) {
        problems.push_back(std::string("the file is not an object of pages ({ \"CPageMainParams\": { \"1019\": …, … }, "
                                       "… }) but ") +
                           TypeName(values));
        return false;
    }
    struct Change {
        CPageBase* page;
        const FieldDecl* field;
        const nlohmann::json* value;
    };
    std::vector<Change> changes;
    for (const auto& [name, pageValues] : values.items()) {
        CPageBase* page = session.Page(name);
        if (!page) {
            Problem(problems, "unknown page \"" + name + "\"");
            continue;
        }
        if (!pageValues.is_object()) {
            Problem(problems, name + ": the page's values are " + TypeName(pageValues) +
                                  ", not an object of control ids");
            continue;
        }
        std::map<std::string, const FieldDecl*, std::less<>> fields;
        for (const FieldDecl& f : page->Fields())
            if (HoldsValue(f.kind)) fields.try_emplace(KeyOf(f), &f);
        // What the export holds besides the controls' values (also in place of one: a record
        // list exports its records) is taken as it is and left alone.
        std::set<std::string, std::less<>> reported;
        const nlohmann::json exported = CSession::PageJson(*page);
        for (const auto& [key, value] : exported.items()) {
            const auto f = fields.find(key);
            if (f != fields.end() && Misfit(*f->second, page->ValueOf(f->second->id), value).empty()) continue;
            reported.insert(key);
            if (f != fields.end()) fields.erase(f);
        }
        for (const auto& [key, value] : pageValues.items()) {
            const auto it = fields.find(key);
            if (it == fields.end()) {
                if (!reported.contains(key)) Problem(problems, name + ": unknown control id \"" + key + "\"");
                continue;
            }
            if (std::string why = Misfit(*it->second, page->ValueOf(it->second->id), value); !why.empty()) {
                Problem(problems, name + " " + key + ": " + why);
                continue;
            }
            changes.push_back({page, it->second, &value});
        }
    }
    if (!problems.empty()) return false;
    std::set<CPageBase*> changed;
    for (const Change& c : changes) {
        Put(*c.page, *c.field, *c.value);
        changed.insert(c.page);
    }
    for (CPageBase* page : changed) page->NotifyChanged();
    return true;
}

std::vector<std::string> ValuesNotHeld(const nlohmann::json& values, const CSession& session)
{
    std::vector<std::string> out;
    if (!values.is_object()) return out;
    for (const auto& [name, pageValues] : values.items()) {
        const CPageBase* page = session.Page(name);
        if (!page || !pageValues.is_object()) continue;
        const nlohmann::json held = CSession::PageJson(*page);
        for (const FieldDecl& f : page->Fields()) {
            const std::string key = KeyOf(f);
            if (!HoldsValue(f.kind) || !pageValues.contains(key) || !held.contains(key)) continue;
            nlohmann::json given = pageValues[key];
            if (given.is_boolean()) given = given.get<bool>() ? 1 : 0;
            if (given != held[key]) out.push_back(name + " " + key + " is given " + given.dump() +
                                                 ", but a unit holding the profile holds " + held[key].dump());
        }
    }
    return out;
}

}  // namespace rtu
