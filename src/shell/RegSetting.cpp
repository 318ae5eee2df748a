#include "shell/RegSetting.h"

#include "link/RoutingTable.h"

#include <QSettings>

#include <climits>
#include <memory>

namespace {

// A stored text is read with a 100-byte buffer.
constexpr qsizetype kMaxValueBytes = 100;

std::unique_ptr<QSettings> OpenStore(const QString& iniPath)
{
    if (iniPath.isEmpty())
        return std::make_unique<QSettings>(QSettings::UserScope, CRegSetting::kOrganization,
                                           CRegSetting::kApplication);
    return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

QString CutToBytes(const QString& text, qsizetype maxBytes)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes)
        return text;
    qsizetype cut = maxBytes;
    // Never split a multi-byte character: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return QString::fromUtf8(utf8.left(cut));
}

}  // namespace

CRegSetting::CRegSetting() = default;

CRegSetting::CRegSetting(const QString& iniPath) : m_iniPath(iniPath) {}

CRegSetting::~CRegSetting() = default;

int CRegSetting::LeadingNumber(const QString& text) { return rtu::LeadingNumber(text.toStdString()); }

int CRegSetting::ReadNumber(const QString& name, int def) const
{
    const QString text = ReadText(name);
    if (text.isEmpty())
        return def;
    return LeadingNumber(text);
}

void CRegSetting::WriteNumber(const QString& name, int value)
{
    WriteText(name, QString::number(value));
}

QString CRegSetting::ReadText(const QString& name) const
{
    auto store = OpenStore(m_iniPath);
    const QVariant v = store->value(name);
    if (!v.isValid())
        return {};
    return CutToBytes(v.toString(), kMaxValueBytes);
}

void CRegSetting::WriteText(const QString& name, const QString& value)
{
    auto store = OpenStore(m_iniPath);
    store->setValue(name, value);
    store->sync();
}
