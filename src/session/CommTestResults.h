// The test result panel's rows: after a test button goes out, the unit's answer lines up to
// its acknowledgement become rows of (test item, result). An answer "name: value",
// "name=value" or "$NAME value" names its own item; any other line is a result of the test
// itself. "CMD ERR" is shown as the test's result; "CMD OK" ends the answer, and a test the
// unit answered with nothing but "CMD OK" shows "OK".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rtu::comm {

struct ResultRow {
    std::string item;
    std::string result;
    bool operator==(const ResultRow&) const = default;
};

class CTestResults {
public:
    static constexpr std::size_t kMaxRowsPerTest = 64;  // answer lines one test adds at most
    static constexpr std::size_t kMaxItemBytes = 48;    // longest item name taken from an answer
    static constexpr const char* kOk = "OK";            // a test answered with "CMD OK" alone
    static constexpr const char* kRefused = "CMD ERR";  // the unit refused the test

    // A test went out under `caption`: the lines that follow are its answer.
    void Start(std::string caption);
    // One line from the unit; the rows it adds (none when no test is waiting for its answer).
    std::vector<ResultRow> Feed(std::string_view line);
    // The answer is complete or abandoned: later lines are not results.
    void Stop() { waiting_ = false; }
    bool Waiting() const { return waiting_; }

    // One answer line as a row of the test `caption` (no acknowledgement handling).
    static ResultRow Split(std::string_view caption, std::string_view line);

private:
    std::string caption_;
    std::size_t rows_ = 0;  // answer rows of the current test
    bool waiting_ = false;  // a test's answer is still coming
};

}  // namespace rtu::comm
