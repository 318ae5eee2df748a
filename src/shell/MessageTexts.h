#pragma once

#include <QString>

#include <string>

namespace rtu {
class CTextCatalog;
}

// The session's fixed status, mode and message texts as the window shows them: each has a key
// in the catalog's "Messages" section, and the session's own wording is the text shown when
// the catalog has none. A text that starts with a fixed one and goes on with a reason (after
// a blank) keeps the reason.
class CMessageTexts {
public:
    static constexpr const char* kSection = "Messages";

    explicit CMessageTexts(const rtu::CTextCatalog* catalog) : catalog_(catalog) {}

    QString Shown(const std::string& text) const;
    // The key of a fixed text; nullptr for a text that isn't one.
    static const char* KeyOf(const std::string& text);

private:
    const rtu::CTextCatalog* catalog_;
};
