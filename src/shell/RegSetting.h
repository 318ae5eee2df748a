#pragma once

#include <QString>

class QSettings;

// The connection settings that survive between runs (port, baud, parity, password, test console
// values). Stored as text values in the user's QSettings; every read or write opens the store,
// does its one operation and closes it again. The file is private to its owner (mode 0600): it
// holds the console password as typed.
class CRegSetting {
public:
    // Default store: QSettings in user scope under the application's organisation/name.
    CRegSetting();
    // Store in an explicit INI file (tests, portable set-ups).
    explicit CRegSetting(const QString& iniPath);
    virtual ~CRegSetting();

    CRegSetting(const CRegSetting&) = delete;
    CRegSetting& operator=(const CRegSetting&) = delete;

    // Leading decimal digits of the stored text (letters only read as 0); a missing or empty
    // value gives def.
    int ReadNumber(const QString& name, int def) const;
    void WriteNumber(const QString& name, int value);
    // The stored text, cut to 100 bytes; missing gives the empty text.
    QString ReadText(const QString& name) const;
    void WriteText(const QString& name, const QString& value);

    // Where the store keeps its values (created readable by its owner only).
    QString FilePath() const;

    // Text-to-integer of a stored value: optional blanks and sign, then leading digits.
    static int LeadingNumber(const QString& text);

    // The organisation and application names the default store uses.
    static constexpr const char* kOrganization = "rtuconfig";
    static constexpr const char* kApplication = "QMX5000COMM";

private:
    QString iniPath_;  // empty: the default user-scope store
};
