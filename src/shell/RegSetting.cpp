#include "shell/RegSetting.h"

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

int CRegSetting::LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r' ||
                     text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // saturate instead of overflowing
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return static_cast<int>(value);
}

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
