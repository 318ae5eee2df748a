// A list of the unit's phone numbers, one number per row. A row is edited in the small
// phone editor and written to the unit at once; the list has no Save button.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// What tells one phone list apart from another.
struct PhoneListShape {
    const char* className;
    int rows;                   // fixed rows of the list, numbered from 0
    int reloadButton;           // the Reload button's id; 0: the page has none
    bool hasFrame;              // the page frame shows the title of the page's section
    const char* rowCommand;     // one row to the unit: printf format of (row, number)
    const char* profileRow;     // one row in a profile: printf format of (row, number); nullptr: none
};

class CPhoneListPage : public CPageBase {
public:
    static constexpr int kListId = ctl::kList;
    static constexpr int kNumberColumn = 1;       // column of the phone number
    static constexpr int kEditorNumber = 1250;    // the phone editor's number edit
    static constexpr int kEditorOk = 1;           // the phone editor's OK button
    static constexpr int kEditorCancel = 2;       // the phone editor's Cancel button
    static constexpr int kPageWaitSteps = 2000;   // default wait of the page's command lines
    static constexpr int kEditWaitSteps = 3000;   // wait of a row edit's command line

    CPhoneListPage(PageContext& context, const PhoneListShape& shape);

    const char* ClassName() const override { return shape_.className; }
    std::span<const FieldDecl> Fields() const override { return fields_; }
    std::span<const RowEditorDecl> RowEditors() const override { return editors_; }
    int DefaultWaitSteps() const override { return kPageWaitSteps; }

    // The lists have no Save button; only a profile takes their rows.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // The header goes into the profile as it is, followed by one line per row.
    void WriteProfileSection(CProfileWriter& file) override;
    bool OnCommand(int id) override;
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    void CommitEditRow(const RowEdit& edit) override;
    void OnReport(const RouteHit& hit) override;

    int Rows() const { return shape_.rows; }

private:
    bool ValidRow(int row) const { return row >= 0 && row < shape_.rows; }

    PhoneListShape shape_;
    std::vector<FieldDecl> fields_;
    std::vector<RowEditorDecl> editors_;
};

}  // namespace rtu
