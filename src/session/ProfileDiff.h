// Compares two profiles line by line within each page section, without writing anything. A
// line's key is its command up to the value ("%CS3", "%DINPRIO=3,", "%UB"); two lines with
// the same key in the same section are the same setting, and their values are compared.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/ProfileReader.h"

namespace rtu {

class CPageBase;
class CTextCatalog;
struct PageInfo;

enum class DiffKind {
    Changed,  // both sides hold the key with different values
    OnlyNew,  // only the new side (the file to be sent) holds it
    OnlyOld,  // only the old side (the unit, or the first file) holds it
    Same,     // both sides hold the same line (only when asked for)
};

struct DiffLine {
    DiffKind kind = DiffKind::Changed;
    std::string key;
    std::string oldLine;  // empty for OnlyNew
    std::string newLine;  // empty for OnlyOld
    std::string OldValue() const { return oldLine.empty() ? std::string() : oldLine.substr(key.size()); }
    std::string NewValue() const { return newLine.empty() ? std::string() : newLine.substr(key.size()); }
};

struct DiffSection {
    std::string header;   // the section's header line ("//Page …"); empty: lines before any header
    std::string page;     // the class name of the page that writes it; empty when none does
    std::string caption;  // what the user knows the page by
    std::vector<DiffLine> lines;
};

struct ProfileDiff {
    std::vector<DiffSection> sections;  // only sections with differences (or, when asked for, equal lines)
    bool Equal() const { return Count() == 0; }
    int Count() const;  // lines that differ
};

// What the comparison knows of a section: its page, caption and the keys its rows declare.
struct SectionInfo {
    std::string page;
    std::string caption;
    std::vector<std::string> keys;  // command prefixes declared by the page's rows
};
using SectionInfoFn = std::function<SectionInfo(std::string_view header)>;

class CProfileDiffer {
public:
    static constexpr int kMaxIndexDigits = 3;  // longest row index a repeated command carries

    explicit CProfileDiffer(SectionInfoFn info = {}) : info_(std::move(info)) {}
    // `oldLines` and `newLines` must have been read with their headers kept.
    // `withSame` also lists the new side's lines that the old side holds as they are.
    ProfileDiff Compare(const CProfileLines& oldLines, const CProfileLines& newLines, bool withSame = false) const;

private:
    SectionInfoFn info_;
};

// Section facts from the page registry and the built pages: a page is found by its header,
// its caption comes from the catalog (else from the header), its keys from its rows.
SectionInfoFn PageSectionInfo(std::span<const PageInfo> registry, std::span<const std::unique_ptr<CPageBase>> pages,
                              const CTextCatalog* catalog);

// Reads profile text with its headers kept (for comparing); false when it is not fit to read.
bool ReadProfileForDiff(std::string_view text, CProfileLines& lines, std::string& error);
bool ReadProfileFileForDiff(const std::string& path, CProfileLines& lines, std::string& error);

}  // namespace rtu
