// The one-line input editor of the e-mail recipients and the data-over-SMS numbers: a row's
// text in one edit (from `column`), written to the unit at once on the line of `format`
// (the row, then the text).
#pragma once

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/PageBase.h"

namespace rtu {

inline constexpr int kInputEdit = 1250;  // the editor's edit
inline constexpr int kInputOk = 1;
inline constexpr int kInputCancel = 2;
inline constexpr int kInputWaitMs = 3000;  // the row line's acknowledgement wait

inline RowEditorDecl InputRowEditor(int listId, const char* format, int column, CharRule chars = CharRule::Any)
{
    return RowEditorDecl{listId,
                         Fixed("Inputs"),
                         {{.id = kInputEdit,
                           .kind = FieldKind::Text,
                           .write = {.format = format, .waitMs = kInputWaitMs},
                           .chars = chars,
                           .column = column,
                           .strict = chars != CharRule::Any},
                          MakeButton(kInputOk, Shared("Buttons", "Ok"), "", kInputOk),
                          MakeButton(kInputCancel, Shared("Buttons", "Cancel"), "", kInputCancel)}};
}

}  // namespace rtu
