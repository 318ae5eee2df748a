#pragma once

#include <QDate>
#include <QString>

class CRegSetting;
class QWidget;
namespace rtu {
class CSession;
}

// Where profile files are saved and opened: the chooser starts in the folder used last (kept
// in the stored settings), a save suggests "<unit id>-YYYYMMDD.txt", and a name typed
// without an extension gets ".txt".
class CProfileFiles {
public:
    static constexpr const char* kFolderSetting = "PROFILEDIR";  // the folder used last
    static constexpr const char* kSuffix = "txt";                // profiles are text files
    static constexpr const char* kNoUnitId = "profile";          // the name's start before a unit was read
    static constexpr int kMaxUnitIdChars = 40;                   // longer unit ids are cut in the name

    explicit CProfileFiles(CRegSetting& settings) : settings_(settings) {}

    // The unit id as last read into the main parameters page (empty before a reload).
    static QString UnitId(const rtu::CSession& session);
    // The file name a save suggests: the unit id (characters a file name can't hold become
    // "_") and the date.
    static QString SuggestedName(const QString& unitId, const QDate& day);
    // Where the chooser starts: the folder used last (else the home folder), with the
    // suggested name when saving.
    QString StartPath(bool save, const QString& unitId, const QDate& day) const;
    // The file chooser, started at `start`. A save adds ".txt" to a name typed without an
    // extension before it asks whether to replace an existing file. Empty when cancelled.
    static QString Ask(QWidget* parent, bool save, const QString& start, const QString& filter);
    // The chosen file as it is used: ".txt" added to a saved name without an extension. Its
    // folder is remembered. An empty choice (cancelled) stays empty.
    QString Accept(bool save, const QString& chosen);

private:
    CRegSetting& settings_;
};
