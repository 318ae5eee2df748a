// Save lines that carry the values of several controls.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/PageBase.h"

namespace rtu {

// The compose hook of a line built from the texts of `Ids`, one %s each in `Format`, e.g. a
// range "%%GRAYRANGE%s,%s\r" from its low and its high limit. Each text goes up to its first
// line break; a format that does not take the texts gives no line.
template <const char* Format, int... Ids> bool WriteTexts(const CPageBase& page, std::string& line)
{
    const CommandArg args[] = {CommandArg{SingleLine(page.TextOf(Ids))}...};
    std::optional<std::string> made = FormatCommand(Format, args);
    if (!made) return false;
    line = std::move(*made);
    return true;
}

// The compose hook of a line of check boxes: `Start`, then a digit per box of `Ids` (1 set,
// 0 clear), e.g. "%AINURG0110\r" from four boxes.
template <const char* Start, const auto& Ids> bool WriteChecks(const CPageBase& page, std::string& line)
{
    line = Start;
    for (const int id : Ids) line += page.CheckOf(id) ? '1' : '0';
    line += '\r';
    return true;
}

}  // namespace rtu
