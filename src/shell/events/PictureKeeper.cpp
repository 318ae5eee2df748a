#include "shell/events/PictureKeeper.h"

#include <ctime>

#include "link/PictureStore.h"
#include "pages/mms/PageMmsSetup.h"
#include "session/Session.h"

std::string KeepPicture(rtu::CSession& session, const std::string& folder)
{
    const std::string bytes = session.TakePicture();
    const rtu::PictureFiles files = rtu::CPictureStore::Save(
        folder.empty() ? rtu::CPictureStore::DefaultFolder() : folder, bytes, std::time(nullptr));
    // A picture that could not be written is said, not dropped silently.
    if (files.latest.empty()) return "image not saved: " + files.error;
    if (auto* page = dynamic_cast<rtu::CPageMmsSetup*>(session.Page(rtu::PageId::MmsSetup))) {
        page->ShowPicture(files.latest);
        page->NotifyChanged(rtu::CPageMmsSetup::kPicture);  // the same name holds a new picture
    }
    if (!files.error.empty()) return "image saved as " + files.latest + "; " + files.error;
    return "image saved";
}
