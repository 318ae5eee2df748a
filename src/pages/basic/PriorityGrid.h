// The alarm priority grids: which alarm sources notify which of the ten control phones.
// Every table is a list of ten rows ("CS0" … "CS9") with one column per source; a cell
// holds "O" (notify), "X" (don't) or nothing while the unit has not reported the row;
// a save sends every row, an empty cell as a 0 bit. Each row travels as a hexadecimal bit
// mask, bit i for source i. The four pages differ only in their row of the family's
// declaration table (PriorityTables.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

namespace prio {
inline constexpr int kRows = 10;                 // control phones CS0 … CS9
inline constexpr int kFirstEntry = 8;            // the unit reports row r as entry r + 8
inline constexpr int kEntryDigits = 2;           // a report starts with the two-digit entry
inline constexpr std::size_t kMaskOffset = 3;    // the mask follows the entry and one separator
inline constexpr std::size_t kMaxMaskChars = 8;  // longest mask text the unit sends
inline constexpr int kMaxTables = 2;             // SMS and ring
inline constexpr int kRowWaitMs = 4000;          // ms a row command waits for its acknowledgement
inline constexpr int kPageWaitMs = 2000;         // ms the batch framing lines wait
inline constexpr int kRingList = 1070;           // the ring table on pages that have one
inline constexpr int kLabelColumnWidth = 60;
inline constexpr const char* kNotify = "O";
inline constexpr const char* kSilent = "X";
inline constexpr int kLegendLabel = 9401;              // explains "O" and "X" under the tables
inline constexpr int kTableCaption = 9402;             // captions over the tables: this id + table index
inline constexpr const char* kSection = "PrioTables";  // catalog section of the legend and captions

// The value of a mask text; nullopt when it is longer than maxChars. Hex digits count in
// either case, any other character as 0.
std::optional<std::uint32_t> ParseMask(std::string_view text, std::size_t maxChars);
}  // namespace prio

struct PriorityGridShape {
    PageId page{};
    const char* rowCommand = nullptr;         // format of (row, mask …); the masks named by maskArgs
    std::vector<int> maskArgs{};              // for each mask of the row command: the table it comes from
    std::vector<int> tables{};                // list ids, in the order the routing numbers them (SMS, ring)
    std::vector<std::string> reportKeys{};    // the report key of each table ("#": its row)
    int sources = 0;                          // alarm sources, in list columns 1 … sources
    int sourceWidth = 30;                     // width of a source column
    const char* sourceTitlePrefix = nullptr;  // source i is titled by key prefix + (i + 1) ("LISTC1"); nullptr: "i"
    TextRef firstColumn{};                    // title of the row label column
    std::optional<TextRef> lastColumn{};      // an extra column after the sources that carries no value
    std::size_t maxMaskChars = prio::kMaxMaskChars;
    std::optional<FieldDecl> title{};  // the label or frame carrying the page title
    int saveId = ctl::kSave;
    TextRef saveCaption{"Buttons", "Save", ""};
    int resetId = 0;
    TextRef resetCaption{"Buttons", "Reset", ""};
    bool hasReload = true;
};

class CPriorityGridPage : public CPageBase {
public:
    using Masks = std::array<std::uint32_t, prio::kMaxTables>;

    CPriorityGridPage(PageContext& context, const PageInfo& info, const PriorityGridShape& shape);

    const PriorityGridShape& Shape() const { return shape_; }

    void SaveParams(bool toProfile, CProfileWriter* file) override;
    bool OnCellClicked(int listId, int row, int col) override;

    // Applies one report: `text` is what follows the report key, `table` the index of the
    // table the key names.
    void ParsePriorityReport(std::string_view text, int table);
    // Marks every source cell of every table "X": a known, empty grid the user can toggle.
    void ResetTables();
    // The row's mask in every table; a cell that holds neither "O" nor "X" counts as 0.
    Masks RowMasks(int row) const;

    // The command that stores one row; masks[t] belongs to shape().tables[t].
    std::string RowCommand(int row, const Masks& masks) const;

private:
    int TableIndex(int listId) const;

    const PriorityGridShape& shape_;
    std::vector<FieldDecl> fields_{};
    std::vector<HandlerDecl> handlers_{};
};

// The family's declaration table and the model factory of its pages.
std::span<const PriorityGridShape> PriorityTables();
std::unique_ptr<CPageBase> MakePriorityTable(PageContext& context, const PageInfo& info);

}  // namespace rtu
