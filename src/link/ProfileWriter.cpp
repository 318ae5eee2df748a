#include "link/ProfileWriter.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace rtu {

CProfileWriter::~CProfileWriter()
{
    if (file_) {
        std::fclose(file_);
        ::unlink(tempPath_.c_str());
    }
}

void CProfileWriter::Fail(const std::string& what)
{
    if (!failed_) error_ = what + ": " + std::strerror(errno);
    failed_ = true;
}

bool CProfileWriter::Open(const std::string& path)
{
    path_ = path;
    tempPath_ = path + ".tmp" + std::to_string(::getpid());
    file_ = std::fopen(tempPath_.c_str(), "wb");
    if (!file_) {
        Fail(path);
        return false;
    }
    return true;
}

void CProfileWriter::WriteText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (pendingCr_) {
            out += "\r\n";
            pendingCr_ = false;
            if (c == '\n') continue;
        }
        if (c == '\r') pendingCr_ = true;
        else if (c == '\n') out += "\r\n";
        else out += c;
    }
    written_ += out;
    if (file_ && !failed_ && !out.empty() && std::fwrite(out.data(), 1, out.size(), file_) != out.size())
        Fail(path_);
}

bool CProfileWriter::Commit()
{
    if (pendingCr_) WriteText("\n");
    if (!file_) return false;
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fail(path_);
    if (std::fclose(file_) != 0) Fail(path_);
    file_ = nullptr;
    if (failed_ || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail(path_);
        ::unlink(tempPath_.c_str());
        return false;
    }
    return true;
}

}  // namespace rtu
