#include "link/ProfileWriter.h"

namespace rtu {

bool CProfileWriter::Open(const std::string& path)
{
    open_ = file_.Open(path, FileAccess::Private);
    return open_;
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
    if (open_ && !out.empty()) file_.Write(out);
}

bool CProfileWriter::Commit()
{
    if (pendingCr_) WriteText("\n");
    if (!open_) return false;
    open_ = false;
    return file_.Commit();
}

}  // namespace rtu
