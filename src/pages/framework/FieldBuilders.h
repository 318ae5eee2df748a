// Short ways to write a page's declaration rows.
#pragma once

#include <string>
#include <utility>

#include "pages/framework/FieldDecl.h"

namespace rtu {

// Short names the declaration tables use.
using K = FieldKind;
using D = Decode;

// The dump requests that bring a field's report back.
namespace dump {
inline constexpr const char* kSys = "%DUMP_SYS\r";
inline constexpr const char* kGpio = "%DUMP_GPIO\r";
inline constexpr const char* kTimer = "%DUMP_TIMER\r";
inline constexpr const char* kAds = "%DUMP_ADS\r";
}  // namespace dump

// A caption from the page's own catalog section.
inline TextRef Own(const char* key) { return TextRef{"", key, ""}; }
// A caption from a shared section ("Buttons", "TABS", "SYSCHAR" …).
inline TextRef Shared(const char* section, const char* key) { return TextRef{section, key, ""}; }
// A fixed text that no catalog replaces.
inline TextRef Fixed(const char* text) { return TextRef{"", "", text}; }

// A push button that runs the page command of its own id (or `command`).
inline FieldDecl MakeButton(int id, TextRef caption, const char* tooltip = "", int command = 0)
{
    FieldDecl f;
    f.id = id;
    f.kind = FieldKind::Button;
    f.caption = std::move(caption);
    f.command = command;
    f.tooltip = tooltip;
    return f;
}

// Rows written with designated initializers: the builder sets what makes the control what it
// is, `f` names the rest, e.g.
//   TextBox({.id = kApn, .caption = Own("APN"), .captionId = 1340, .write = {.format = "%%M2MAPN%s\r"}})
template <FieldKind Kind> FieldDecl Control(FieldDecl f)
{
    f.kind = Kind;
    return f;
}
inline constexpr auto TextBox = Control<FieldKind::Text>;
// An edit box with a spin button; minValue … maxValue is the range the unit is known to take.
inline constexpr auto NumberBox = Control<FieldKind::Number>;
inline constexpr auto CheckBox = Control<FieldKind::Check>;
inline constexpr auto DropDown = Control<FieldKind::Combo>;
// A caption on its own (a title, a legend).
inline constexpr auto CaptionLabel = Control<FieldKind::Label>;
// A value the unit reports and the user only reads: nothing writes it back.
inline FieldDecl Shown(FieldDecl f)
{
    f.kind = FieldKind::Value;
    f.readOnly = true;
    f.write.reportOnly = true;
    return f;
}
// A push button that runs the page's own action.
inline FieldDecl ActionButton(int id, TextRef caption, ClickFn action)
{
    FieldDecl f = MakeButton(id, std::move(caption));
    f.onClick = action;
    return f;
}

// A secret (a PIN, a password): masked in the window and in everything made to be shared.
// `handlerKey` names the report a page handler takes it from, when its row names none.
inline FieldDecl Secret(FieldDecl f, const char* handlerKey = nullptr)
{
    f.secret = true;
    f.handlerKey = handlerKey;
    return f;
}

// A typed value goes out as one command line: anything from a line break on would reach
// the unit as a command line of its own.
inline std::string SingleLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace rtu
