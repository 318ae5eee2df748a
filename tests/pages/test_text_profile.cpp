// What the text tables write into a profile.
#include <gtest/gtest.h>

#include <string>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/registry/PageRegistry.h"

namespace rtu {
namespace {

std::string Section(test::PageHarness& h, PageId id, std::initializer_list<const char*> reports)
{
    h.pages.clear();
    CPageBase& page = h.Make(id);
    for (const char* line : reports) h.Route(line);
    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_TRUE(h.writes.empty()) << page.ClassName() << ": a profile sends nothing";
    return file.Written();
}

std::size_t Lines(const std::string& text, const std::string& prefix)
{
    std::size_t n = 0;
    for (std::size_t pos = text.find("\r\n" + prefix); pos != std::string::npos;
         pos = text.find("\r\n" + prefix, pos + 2))
        ++n;
    return n;
}

TEST(TextProfile, NameTablesWriteEveryRowEncoded)
{
    test::PageHarness h;
    EXPECT_EQ(Section(h, PageId::ADName, {"$ADNAME1 00410042", "$ADNAME3 041F"}),
              "\r\n//Page AD names\r\n\r\n%A00\r\n%A0100410042\r\n%A02\r\n%A03041F\r\n");

    EXPECT_EQ(Section(h, PageId::DinName, {"$DINAME0 0041"}),
              "\r\n//Page Digital inputs Names\r\n\r\n%I000041\r\n%I01\r\n%I02\r\n%I03\r\n");

    EXPECT_EQ(Section(h, PageId::DoutName, {}),
              "\r\n//Page Digital outputs Names\r\n\r\n%O00\r\n%O01\r\n%O02\r\n%O03\r\n");

    EXPECT_EQ(Section(h, PageId::ISensorName, {"$ISNAME5: 0045"}),
              "\r\n//Page ISensor Names\r\n\r\n%E00\r\n%E01\r\n%E02\r\n%E03\r\n%E04\r\n%E050045\r\n");
}

TEST(TextProfile, MessagesAreWrittenOnceByTheMessageTable)
{
    test::PageHarness h;
    const std::string section = Section(h, PageId::AllSms, {"$SMS00 0041", "$SMS29 0042"});
    EXPECT_EQ(section.rfind("\r\n//Page Rom Sms\r\n\r\n%S000041\r\n%S01\r\n", 0), 0u) << section;
    EXPECT_EQ(Lines(section, "%S"), 30u);
    EXPECT_NE(section.find("\r\n%S290042\r\n"), std::string::npos);
    EXPECT_EQ(section.substr(section.size() - 2), "\r\n");

    EXPECT_EQ(Section(h, PageId::DinAlarm, {"$SMS00 0041"}), "");
    EXPECT_EQ(Section(h, PageId::ADSms, {"$SMS08 0041", "$AINSMH 1"}), "");
}

}  // namespace
}  // namespace rtu
