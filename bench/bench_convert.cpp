// Converting without a unit: the golden profile of the default unit opened through the
// in-process simulated unit (execute every line, then read it in full), into JSON and back.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "session/OfflineProfile.h"

namespace {

std::string DefaultProfile()
{
    std::ifstream in(std::string(RTU_SOURCE_DATA_DIR) + "/../tests/e2e/golden/default.profile", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void BM_ProfileToJson(benchmark::State& state)
{
    const std::string profile = DefaultProfile();
    std::string error;
    for (auto _ : state) {
        rtu::OpenedProfile opened;
        if (!rtu::OpenProfileText(profile, nullptr, opened, error)) state.SkipWithError(error.c_str());
        else benchmark::DoNotOptimize(opened.unit->Session().ExportJsonText());
    }
    state.SetLabel(std::to_string(profile.size()) + " bytes of profile");
}
BENCHMARK(BM_ProfileToJson)->Unit(benchmark::kMillisecond);

void BM_JsonToProfile(benchmark::State& state)
{
    std::string error;
    rtu::OpenedProfile source;
    if (!rtu::OpenProfileText(DefaultProfile(), nullptr, source, error)) return state.SkipWithError(error.c_str());
    const std::string json = source.unit->Session().ExportJsonText();
    std::vector<std::string> problems;
    for (auto _ : state) {
        rtu::OpenedProfile opened;
        if (!rtu::OpenJsonText(json, nullptr, opened, problems)) state.SkipWithError("the JSON was refused");
        else benchmark::DoNotOptimize(opened.unit->Session().ProfileText());
    }
}
BENCHMARK(BM_JsonToProfile)->Unit(benchmark::kMillisecond);

// The export of a fully loaded unit: written as text as it goes, and (as it was written
// before) built as a JSON tree first and dumped. Both give the same bytes.
void BM_ExportJsonText(benchmark::State& state)
{
    std::string error;
    rtu::OpenedProfile source;
    if (!rtu::OpenProfileText(DefaultProfile(), nullptr, source, error)) return state.SkipWithError(error.c_str());
    const rtu::CSession& session = source.unit->Session();
    const bool tree = state.range(0) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = tree ? rtu::CSession::JsonText(session.ExportJson()) : session.ExportJsonText();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetLabel(std::string(tree ? "tree, then dump" : "written as it goes") + ", " + std::to_string(bytes) +
                   " bytes");
}
BENCHMARK(BM_ExportJsonText)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
