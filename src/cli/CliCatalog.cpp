#include "cli/CliCatalog.h"

#include <filesystem>
#include <system_error>

namespace rtu::cli {

const CTextCatalog* LoadProgramCatalog(CTextCatalog& catalog)
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return catalog.LoadDefault(ec ? std::string() : exe.parent_path().string()) ? &catalog : nullptr;
}

}  // namespace rtu::cli
