// The one-line input editor of the e-mail recipients and the data-over-SMS numbers: a row's
// text in one edit, written to the unit at once with the row number.
#pragma once

#include <string>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/PageBase.h"

namespace rtu {

inline constexpr int kInputEdit = 1250;  // the editor's edit
inline constexpr int kInputOk = 1;
inline constexpr int kInputCancel = 2;
inline constexpr int kInputWaitMs = 3000;  // the row line's acknowledgement wait

inline RowEditorDecl InputRowEditor(int listId)
{
    return RowEditorDecl{listId,
                         Fixed("Inputs"),
                         {{.id = kInputEdit, .kind = FieldKind::Text},
                          MakeButton(kInputOk, Shared("Buttons", "Ok"), "", kInputOk),
                          MakeButton(kInputCancel, Shared("Buttons", "Cancel"), "", kInputCancel)}};
}

// The editor's text as one line.
inline std::string InputText(const RowEdit& edit)
{
    auto it = edit.values.find(kInputEdit);
    return it == edit.values.end() ? std::string{} : SingleLine(it->second.text);
}

}  // namespace rtu
