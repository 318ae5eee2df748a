// A profile opened with no unit attached. "Open profile..." fills every page from a profile
// (or a JSON export) as if a unit holding it had reported its values; until a port is open,
// what the pages write (a Save, a row editor) goes to an in-process simulated unit that holds
// the file's values, so the pages are edited with the same views, checks and row editors and
// show what was stored. "Save profile" writes the pages with the file's lines that no page
// holds written back into their sections; "Run profile from these pages" sends them to a
// connected unit through the preview. A label says where the values on the pages come from.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "session/OfflineProfile.h"

class CSessionDriver;
class QLabel;
class QTimer;
class QToolButton;
class QAction;
namespace rtu {
class CSimUnit;
}

class COfflineProfile : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kFromUnit = "Values read from the unit";
    static constexpr const char* kFromFile = "Values from file %1";
    static constexpr const char* kNoUnit =
        "Connect a unit first (choose its port): the pages' profile is run on a unit through the preview.";
    static constexpr const char* kKeptLines =
        "These lines of %1 are on no page. They are kept and written back into their sections "
        "when the profile is saved:\n%2";
    static constexpr const char* kReplaceEdits = "The pages hold edits that were not saved. Replace them with the file's values?";

    struct Hooks {
        std::function<QString(bool save)> chooseFile;  // "" when cancelled
        std::function<void(bool error, const QString& text)> tell;
        std::function<bool(const QString& text)> ask;  // true: yes
        std::function<bool()> portOpen;                // a unit may be attached
        std::function<void(const QString& path)> runProfile;
    };
    COfflineProfile(CSessionDriver& driver, const rtu::CTextCatalog* catalog, rtu::ClockFn clock, Hooks hooks,
                    QWidget* parent);
    ~COfflineProfile() override;

    // The menu button ("Profile") and the label that says where the values come from.
    QToolButton* Button() const { return button_; }
    QLabel* SourceLabel() const { return source_; }
    QAction* OpenAction() const { return open_; }
    QAction* SaveAction() const { return save_; }
    QAction* RunAction() const { return run_; }

    // The pages hold a file's values (no unit has reported since).
    bool FromFile() const { return static_cast<bool>(unit_); }
    // What the pages write goes to the file's simulated unit now (no port is open).
    bool Active() const { return FromFile() && !hooks_.portOpen(); }
    // Takes what the pages write while Active.
    bool Write(std::string_view bytes);
    const std::vector<rtu::KeptLine>& Kept() const { return kept_; }

    void Open();
    // Opens `path` without asking for it; false when it could not be opened (told).
    bool OpenFile(const QString& path);
    void Save();
    // Writes the pages' profile (with the kept lines) to `path`; told either way.
    bool SaveTo(const QString& path);
    void RunFromPages();

private:
    void Arm();
    void Transmit();
    void OnLine(const QString& line);
    std::string PagesProfile();

    CSessionDriver& driver_;
    const rtu::CTextCatalog* catalog_;
    rtu::ClockFn clock_;
    Hooks hooks_;
    std::unique_ptr<rtu::CSimUnit> unit_;  // the file's values, while the pages hold them
    std::vector<rtu::KeptLine> kept_;
    QTimer* timer_;
    QToolButton* button_;
    QAction* open_;
    QAction* save_;
    QAction* run_;
    QLabel* source_;
};
