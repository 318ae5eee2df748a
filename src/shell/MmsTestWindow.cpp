#include "shell/MmsTestWindow.h"

#include <filesystem>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/PictureStore.h"
#include "pages/mms/PageMmsSetup.h"
#include "session/Session.h"
#include "shell/events/EventWidgets.h"

namespace {

QString ObjectName(int control) { return QStringLiteral("comm_%1").arg(control); }

// Control ids of the window's parts.
constexpr int kPictureArea = 1225;
constexpr int kStatusLabel = 1448;
constexpr int kViewButton = 1446;
constexpr int kStopButton = 1447;
constexpr const char* kMmsPage = "CPageMmsSetup";

}  // namespace

QString CMmsTestWindow::Text(const char* key, const char* fallback) const
{
    const rtu::CTextCatalog* catalog = session_.Catalog();
    const std::string text = catalog ? catalog->GetText(kSection, key) : std::string();
    return QString::fromStdString(text.empty() ? fallback : text);
}

CMmsTestWindow::CMmsTestWindow(rtu::CSession& session, QWidget* parent) : QDialog(parent, Qt::Tool), session_(session)
{
    setObjectName(QStringLiteral("comm_mms_window"));
    setWindowTitle(Text("TITLE", kTitle));
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    picture_ = new CPictureArea(this);
    picture_->setObjectName(ObjectName(kPictureArea));
    picture_->setMinimumSize(kPictureWidth, kPictureHeight);
    layout->addWidget(picture_, 1);

    status_ = new QLabel(this);
    status_->setObjectName(ObjectName(kStatusLabel));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto* row = new QHBoxLayout;
    auto* view = new QPushButton(Text("VIEW", kViewCaption), this);
    view->setObjectName(ObjectName(kViewButton));
    connect(view, &QPushButton::clicked, this, &CMmsTestWindow::View);
    auto* stop = new QPushButton(Text("STOP", kStopCaption), this);
    stop->setObjectName(ObjectName(kStopButton));
    connect(stop, &QPushButton::clicked, this, [this] { session_.PageCommand(kMmsPage, rtu::CPageMmsSetup::kStop); });
    row->addWidget(view);
    row->addWidget(stop);
    row->addStretch(1);
    layout->addLayout(row);

    // A picture kept while the window is open is shown at once.
    if (rtu::CPageBase* page = session_.Page(kMmsPage))
        listener_ = page->AddListener([this](int id) {
            if (id == rtu::CPageMmsSetup::kPicture) picture_->SetFile(LastPicture());
        });
}

CMmsTestWindow::~CMmsTestWindow()
{
    if (rtu::CPageBase* page = session_.Page(kMmsPage)) page->RemoveListener(listener_);
}

QString CMmsTestWindow::LastPicture() const
{
    if (auto* page = dynamic_cast<rtu::CPageMmsSetup*>(session_.Page(kMmsPage)); page && !page->PicturePath().empty())
        return QString::fromStdString(page->PicturePath());
    const std::string folder = rtu::CPictureStore::DefaultFolder();
    if (folder.empty()) return {};
    return QString::fromStdString((std::filesystem::path(folder) / rtu::CPictureStore::kLatestName).string());
}

void CMmsTestWindow::View()
{
    picture_->SetFile(LastPicture());
    session_.PageCommand(kMmsPage, rtu::CPageMmsSetup::kView);
    status_->clear();
}

void CMmsTestWindow::SetStatus(const QString& text) { status_->setText(text); }
QString CMmsTestWindow::Status() const { return status_->text(); }
