#include "link/ProfileWriter.h"

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
    for (char c : text) {
        if (pendingCr_) {
            written_ += "\r\n";
            pendingCr_ = false;
            if (c == '\n') continue;
        }
        if (c == '\r') pendingCr_ = true;
        else if (c == '\n') written_ += "\r\n";
        else written_ += c;
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
