#include "shell/OfflineProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUuid>

#include <algorithm>

#include "link/SafeFileWriter.h"
#include "session/PageValues.h"
#include "shell/SessionDriver.h"
#include "sim/core/SimUnit.h"

namespace {

constexpr const char* kReloadEnd = "DUMPR";  // the line that ends a unit's full report
constexpr int kEditBaud = 115200;            // the file's simulated unit answers at once

QString Joined(const std::vector<std::string>& problems)
{
    QStringList out;
    for (const std::string& p : problems) out << QString::fromStdString(p);
    return out.join(QLatin1Char('\n'));
}

}  // namespace

COfflineProfile::COfflineProfile(CSessionDriver& driver, const rtu::CTextCatalog* catalog, rtu::ClockFn clock,
                                 Hooks hooks, QWidget* parent)
    : QObject(parent), driver_(driver), catalog_(catalog), clock_(std::move(clock)), hooks_(std::move(hooks)),
      timer_(new QTimer(this)), button_(new QToolButton(parent)), source_(new QLabel(parent))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &COfflineProfile::Transmit);
    button_->setObjectName("profileFiles");
    button_->setText(tr("Profile"));
    button_->setIcon(button_->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button_->setToolTip(tr("Open a profile without a unit, save the pages as a profile, run them on a unit"));
    button_->setAutoRaise(true);
    button_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button_);
    open_ = menu->addAction(tr("Open profile..."), this, &COfflineProfile::Open);
    open_->setObjectName("openProfile");
    open_->setToolTip(tr("Fill every page from a profile (or a JSON export), as if a unit held it"));
    save_ = menu->addAction(tr("Save profile..."), this, &COfflineProfile::Save);
    save_->setObjectName("saveProfile");
    run_ = menu->addAction(tr("Run profile from these pages..."), this, &COfflineProfile::RunFromPages);
    run_->setObjectName("runPagesProfile");
    run_->setToolTip(tr("Show what the pages would change on the connected unit, then send the lines you choose"));
    button_->setMenu(menu);
    source_->setObjectName("valuesSource");
    connect(&driver_, &CSessionDriver::lineReceived, this, &COfflineProfile::OnLine);
}

COfflineProfile::~COfflineProfile() = default;

void COfflineProfile::OnLine(const QString& line)
{
    // A unit on the port has reported in full: the pages hold its values now.
    if (!hooks_.portOpen() || !line.contains(QLatin1String(kReloadEnd))) return;
    unit_.reset();
    kept_.clear();
    timer_->stop();
    source_->setText(tr(kFromUnit));
}

bool COfflineProfile::Write(std::string_view bytes)
{
    if (!unit_) return false;
    unit_->HandleReceived(bytes, clock_());
    Arm();
    return true;
}

void COfflineProfile::Arm()
{
    if (!unit_) return;
    if (const auto due = unit_->NextDeadline())
        timer_->start(static_cast<int>(std::clamp<rtu::Millis>(*due - clock_(), 0, CSessionDriver::kLongestWaitMs)));
}

void COfflineProfile::Transmit()
{
    if (!unit_) return;
    const std::string bytes = unit_->PollTransmit(clock_());
    if (!bytes.empty()) driver_.HandleReceive(bytes);
    Arm();
}

void COfflineProfile::Open()
{
    const QString path = hooks_.chooseFile(false);
    if (!path.isEmpty()) OpenFile(path);
}

bool COfflineProfile::OpenFile(const QString& path)
{
    rtu::CSession& session = driver_.Session();
    if (session.Busy()) {
        hooks_.tell(true, tr("The unit is busy: the profile was not opened. Try again once it is free."));
        return false;
    }
    rtu::OpenedProfile opened;
    std::vector<std::string> problems;
    if (!rtu::OpenConfigFile(path.toStdString(), catalog_, opened, problems)) {
        hooks_.tell(true, QString::fromLatin1(rtu::CSession::kOpenProfileFailed) + "\n" + path + ": " + Joined(problems));
        return false;
    }
    if (!session.EditedPages().empty() && !hooks_.ask(tr(kReplaceEdits))) return false;
    rtu::CopyPageValues(opened.unit->Session(), session);
    rtu::SSimOptions options;
    options.latencyMs = 0;
    options.baud = kEditBaud;
    unit_ = std::make_unique<rtu::CSimUnit>(options, opened.unit->UnitImage(), rtu::CSimImage{});
    kept_ = std::move(opened.kept);
    const QString name = QFileInfo(path).fileName();
    source_->setText(tr(kFromFile).arg(name));
    source_->setToolTip(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    driver_.Pump();
    if (!kept_.empty())
        hooks_.tell(false, tr(kKeptLines).arg(name, QString::fromStdString(rtu::KeptLinesText(kept_)).trimmed()));
    return true;
}

std::string COfflineProfile::PagesProfile()
{
    return rtu::WithKeptLines(driver_.Session().ProfileText(), kept_);
}

void COfflineProfile::Save()
{
    const QString path = hooks_.chooseFile(true);
    if (!path.isEmpty()) SaveTo(path);
}

bool COfflineProfile::SaveTo(const QString& path)
{
    std::string error;
    if (!rtu::WriteFileSafely(path.toStdString(), PagesProfile(), error, rtu::FileAccess::Private)) {
        hooks_.tell(true, QString::fromLatin1(rtu::CSession::kWriteProfileFailed) + " " + QString::fromStdString(error));
        return false;
    }
    hooks_.tell(false, QString::fromLatin1(rtu::CSession::kSaveProfileOk));
    return true;
}

void COfflineProfile::RunFromPages()
{
    if (!hooks_.portOpen()) return hooks_.tell(true, tr(kNoUnit));
    // The preview reads the file before anything else happens: a file of its own for that.
    const QString path = QDir(QDir::tempPath()).filePath(
        QStringLiteral("rtuconfig-pages-%1.txt").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    std::string error;
    if (!rtu::WriteFileSafely(path.toStdString(), PagesProfile(), error, rtu::FileAccess::Private))
        return hooks_.tell(true, QString::fromLatin1(rtu::CSession::kWriteProfileFailed) + " " +
                                     QString::fromStdString(error));
    hooks_.runProfile(path);
    QFile::remove(path);
}
