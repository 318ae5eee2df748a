// A list of the unit's phone numbers, one number per row. A row is edited in the small
// phone editor and written to the unit at once; the list has no Save button.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/OwnedDecl.h"
#include "pages/framework/PageBase.h"

namespace rtu {

// One phone list: a row of the family's declaration table.
struct PhoneListDecl {
    PageId page{};
    int rows = 0;                      // fixed rows of the list, numbered from 0
    int reloadButton = 0;              // the Reload button's id; 0: the page has none
    bool hasFrame = false;             // the page frame shows the title of the page's section
    const char* reportKey = nullptr;   // the report the routing hands over, with its row digit
    const char* rowCommand = nullptr;  // one row to the unit: format of (row, number)
    const char* profileRow = nullptr;  // one row in a profile: format of (row, number); nullptr: none
};

class CPhoneListPage : public CPageBase {
public:
    static constexpr int kListId = ctl::kList;
    static constexpr int kNumberColumn = 1;     // column of the phone number
    static constexpr int kEditorNumber = 1250;  // the phone editor's number edit
    static constexpr int kEditorOk = 1;         // the phone editor's OK button
    static constexpr int kEditorCancel = 2;     // the phone editor's Cancel button
    static constexpr int kPageWaitMs = 2000;    // default wait of the page's command lines
    static constexpr int kEditWaitMs = 3000;    // wait of a row edit's command line

    CPhoneListPage(PageContext& context, const PageInfo& info, const PhoneListDecl& shape);

    // The lists have no Save button; only a profile takes their rows.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // The header goes into the profile as it is, followed by one line per row.
    void WriteProfileSection(CProfileWriter& file) override;
    // A routed row report: row digit and number.
    void TakeReport(const RouteHit& hit);

    int Rows() const { return shape_.rows; }

private:
    bool ValidRow(int row) const { return row >= 0 && row < shape_.rows; }

    const PhoneListDecl& shape_;
    OwnedDecl own_{};
};

// The family's declaration table and the model factory of its pages.
std::span<const PhoneListDecl> PhoneLists();
std::unique_ptr<CPageBase> MakePhoneList(PageContext& context, const PageInfo& info);

}  // namespace rtu
