#include "shell/RegSetting.h"

#include "link/TextFields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <memory>

namespace {

// A stored text is read with a 100-byte buffer.
constexpr qsizetype kMaxValueBytes = 100;

std::unique_ptr<QSettings> OpenStore(const QString& iniPath)
{
    if (iniPath.isEmpty())
        return std::make_unique<QSettings>(QSettings::UserScope, CRegSetting::kOrganization, CRegSetting::kApplication);
    return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

// The store holds the console password: only its owner may read it.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr mode_t kOwnerOnlyMode = 0600;

// Creates the store's file empty and private before anything is written to it, and makes an
// existing one private; a store that is not a file is left alone.
void MakePrivate(const QString& path)
{
    if (path.isEmpty()) return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kOwnerOnlyMode);
    if (fd >= 0) ::close(fd);
    if (QFileInfo(path).isFile() && QFile::permissions(path) != kOwnerOnly) QFile::setPermissions(path, kOwnerOnly);
}

QString CutToBytes(const QString& text, qsizetype maxBytes)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes) return text;
    qsizetype cut = maxBytes;
    // Never split a multi-byte character: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return QString::fromUtf8(utf8.left(cut));
}

}  // namespace

CRegSetting::CRegSetting() = default;

CRegSetting::CRegSetting(const QString& iniPath) : iniPath_(iniPath) {}

CRegSetting::~CRegSetting() = default;

QString CRegSetting::FilePath() const { return OpenStore(iniPath_)->fileName(); }

int CRegSetting::LeadingNumber(const QString& text) { return rtu::LeadingNumber(text.toStdString()); }

int CRegSetting::ReadNumber(const QString& name, int def) const
{
    const QString text = ReadText(name);
    if (text.isEmpty()) return def;
    return LeadingNumber(text);
}

void CRegSetting::WriteNumber(const QString& name, int value) { WriteText(name, QString::number(value)); }

QString CRegSetting::ReadText(const QString& name) const
{
    auto store = OpenStore(iniPath_);
    const QVariant v = store->value(name);
    if (!v.isValid()) return {};
    return CutToBytes(v.toString(), kMaxValueBytes);
}

void CRegSetting::WriteText(const QString& name, const QString& value)
{
    auto store = OpenStore(iniPath_);
    MakePrivate(store->fileName());  // later saves keep the file's mode
    store->setValue(name, value);
    store->sync();
}
