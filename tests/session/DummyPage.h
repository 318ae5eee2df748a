// A page that exists only in tests: declared like any page and added through the registry
// alone, in the place of the battery page (which the tool does not build yet), so the
// routing rows of that page reach it.
#pragma once

#include <memory>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/PageBase.h"
#include "pages/registry/PageRegistry.h"

namespace rtu::test {

struct DummyPage {
    static constexpr int kDelay = 1001;    // number with a spin button, "$POWDLY"
    static constexpr int kEnable = 1002;   // check box, "$BATEN 0|1"
    static constexpr int kLevel = 1003;    // digits only, "$POWLS"
    static constexpr int kExtra = 1004;    // group box
    static constexpr int kMode = 1005;     // radio group inside the box
    static constexpr int kNote = 1006;     // several lines, travels as UCS-2 hex
    static constexpr int kReading = 1007;  // read-only value
    static constexpr int kBits = 1008;     // custom widget
    static constexpr int kPing = 1009;     // a box that sends its line when clicked
    static constexpr int kDelayMax = 600;

    static std::span<const FieldDecl> Fields()
    {
        static const std::vector<FieldDecl> fields = {
            {.id = ctl::kFrame, .kind = FieldKind::Label, .caption = Fixed("Dummy")},
            {.id = kDelay,
             .kind = FieldKind::Number,
             .caption = Fixed("Delay"),
             .report = {"$POWDLY", 8, Decode::Text},
             .write = {.format = "%%POWDLY%s\r"},
             .dump = "%DUMP_GPIO\r",
             .minValue = 0,
             .maxValue = kDelayMax},
            {.id = kEnable,
             .kind = FieldKind::Check,
             .caption = Fixed("Enabled"),
             .report = {"$BATEN", 0, Decode::Switch},
             .write = {.format = "%%BATEN%d\r"}},
            {.id = kLevel,
             .kind = FieldKind::Text,
             .caption = Fixed("Level"),
             .report = {"$POWLS", 7, Decode::Text},
             .write = {.format = "%%POWLS%s\r"},
             .maxLength = 5,
             .chars = CharRule::Digits},
            {.id = kExtra, .kind = FieldKind::Group, .caption = Fixed("Extra")},
            {.id = kMode,
             .kind = FieldKind::Radio,
             .caption = Fixed("Mode"),
             .group = kExtra,
             .write = {.format = "%%BATMODE%d\r"},
             .items = {Fixed("off"), Fixed("on")}},
            {.id = kNote,
             .kind = FieldKind::MultiLine,
             .caption = Fixed("Note"),
             .group = kExtra,
             .report = {.decode = Decode::Hex},
             .write = {.format = "%%BATNOTE%s\r"}},
            {.id = kReading, .kind = FieldKind::Value, .caption = Fixed("Reading")},
            {.id = kBits, .kind = FieldKind::Custom, .caption = Fixed("Bits"), .custom = "bits"},
            {.id = kPing,
             .kind = FieldKind::Check,
             .caption = Fixed("Ping"),
             .write = {.format = "%%BATPING%d\r", .onClick = true}},
            MakeButton(ctl::kSave, Fixed("Save")),
            MakeButton(ctl::kReload, {}, "Reload"),
        };
        return fields;
    }
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info)
    {
        return std::make_unique<CPageBase>(context, info, PageDecl{.fields = Fields()});
    }
    // The tool's registry with the dummy page in the battery page's row.
    static std::vector<PageInfo> Registry()
    {
        std::vector<PageInfo> rows(PageTable().begin(), PageTable().end());
        for (PageInfo& row : rows)
            if (row.Id() == PageId::Battery) row.make = Make;
        return rows;
    }
};

}  // namespace rtu::test
