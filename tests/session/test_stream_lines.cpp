// Which lines the unit sends by itself (streamed records, events) and which are replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pages/sensor/TempRecord.h"
#include "session/StreamLines.h"

using namespace rtu;

TEST(StreamLines, RecordsAndEventsAreNoReplies)
{
    struct Case {
        const char* line;
        bool stream;
        bool report;
    };
    const Case cases[] = {
        {"$TREC0001ET33202612010000000420.51,023.10,05.00,135.20,", true, false},
        {"$TREC0001ET33202612010000000120.51,$TREC0002ET33202612010001000123.00,", true, false},
        {"$:\"1\",\"DIN1\",\"2\",\"Door\",\"1\",\"ALARM\",\"2026-12-08 12:00:01\"", true, false},
        {"$TREC0001ET83202612010000000120.51,", false, true},  // a stored record: the log's reply
        {"$TREC0001XX33202612010000000120.51,", false, true},  // no temperature tag
        {"$REG00 60000", false, true},
        {"*SMSCENTER 123", false, true},
        {"$DUMPR", false, true},
        {"CMD OK", false, false},
        {"Login Success", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(IsStreamLine(c.line), c.stream);
        EXPECT_EQ(IsParameterReport(c.line), c.report);
    }
}

// The quick test of every line finds a temperature record exactly when reading the records does.
TEST(StreamLines, QuickRecordTestAgreesWithReadingTheRecords)
{
    const char* const lines[] = {
        "$TREC0001ET33202612010000000420.51,023.10,05.00,135.20,",
        "$TREC0001XX33202612010000000120.51,$TREC0002ET33202612010001000123.00,",  // a counted record first
        "$TREC0001ET8320261201000000012.5,$TREC0002ET33202612010001000123.00,",
        "$TREC0001ET33202612010000000120,",  // a value without its point
        "$TREC0001ET3",                      // shorter than a record
        "$TREC0001ET83202612010000000120.51,",
        "$TREC0001XX332026",
        "$GRAY 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15",
        "",
    };
    for (const char* line : lines)
        for (const int type : {temprec::kRealTimeType, temprec::kStoredType}) {
            SCOPED_TRACE(std::string(line) + " type " + std::to_string(type));
            const std::vector<TempRecord> records = ReadTempRecords(line, type);
            const bool any = std::any_of(records.begin(), records.end(), [](const TempRecord& r) { return r.temperature; });
            EXPECT_EQ(HoldsTempRecord(line, type), any);
        }
}
