#include "link/ProfileWriter.h"

#include <algorithm>

namespace rtu {

bool CProfileWriter::Open(const std::string& path)
{
    open_ = file_.Open(path, FileAccess::Private);
    return open_;
}

void CProfileWriter::WriteText(std::string_view text)
{
    const std::size_t start = written_.size();
    Convert(text);
    WriteFrom(start);
}

void CProfileWriter::WriteLine(std::string_view text)
{
    const std::size_t start = written_.size();
    Convert(text);
    Convert("\n");
    WriteFrom(start);
}

void CProfileWriter::Convert(std::string_view text)
{
    written_.reserve(written_.size() + text.size() + 8);
    while (!text.empty()) {
        if (pendingCr_) {
            written_ += "\r\n";
            pendingCr_ = false;
            if (text.front() == '\n') {
                text.remove_prefix(1);
                continue;
            }
        }
        // The bytes up to the next line end go as they are.
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        written_.append(text.substr(0, end));
        if (end == text.size()) break;
        if (text[end] == '\r') pendingCr_ = true;
        else written_ += "\r\n";
        text.remove_prefix(end + 1);
    }
}

void CProfileWriter::WriteFrom(std::size_t start)
{
    if (open_ && written_.size() > start) file_.Write(std::string_view(written_).substr(start));
}

bool CProfileWriter::Commit()
{
    if (pendingCr_) WriteText("\n");
    if (!open_) return false;
    open_ = false;
    return file_.Commit();
}

}  // namespace rtu
