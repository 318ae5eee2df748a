#include "controls/NavIcons.h"

#include <QStyle>

namespace {

struct IconChoice {
    const char* theme;  // freedesktop icon name
    QStyle::StandardPixmap fallback;
};

// Index -> what the item stands for -> icon.
constexpr IconChoice kIcons[] = {
    {"call-start", QStyle::SP_DialogYesButton},                    // 0 control phones
    {"preferences-system", QStyle::SP_ComputerIcon},               // 1 main parameters
    {"dialog-warning", QStyle::SP_MessageBoxWarning},              // 2 alarm parameters
    {"view-sort-ascending", QStyle::SP_ArrowUp},                   // 3 priority tables
    {"mail-message", QStyle::SP_FileDialogDetailedView},           // 4 messages, I/O types
    {"mail-send", QStyle::SP_FileDialogInfoView},                  // 5 input messages
    {"preferences-other", QStyle::SP_FileDialogListView},          // 6 input set-up
    {"format-text-bold", QStyle::SP_FileDialogContentsView},       // 7 input names
    {"format-text-italic", QStyle::SP_FileDialogContentsView},     // 8 output names
    {"applications-other", QStyle::SP_FileIcon},                   // 9
    {"utilities-system-monitor", QStyle::SP_MediaVolume},          // 10 analog set-up
    {"mail-message-new", QStyle::SP_FileDialogInfoView},           // 11 analog messages
    {"format-text-underline", QStyle::SP_FileDialogContentsView},  // 12 analog names
    {"applications-other", QStyle::SP_FileIcon},                   // 13
    {"applications-other", QStyle::SP_FileIcon},                   // 14
    {"network-wireless", QStyle::SP_DriveNetIcon},                 // 15 GPRS
    {"audio-volume-high", QStyle::SP_MediaVolume},                 // 16 buzzer
    {"weather-clear", QStyle::SP_DriveHDIcon},                     // 17 temperature sensors
    {"battery", QStyle::SP_DriveFDIcon},                           // 18 battery
    {"insert-link", QStyle::SP_BrowserReload},                     // 19 interlock
    {"appointment-new", QStyle::SP_BrowserStop},                   // 20 machine timers
    {"x-office-calendar", QStyle::SP_FileDialogDetailedView},      // 21 weekly timers
    {"utilities-terminal", QStyle::SP_DesktopIcon},                // 22 test console
    {"applications-other", QStyle::SP_FileIcon},                   // 23
    {"document-properties", QStyle::SP_FileDialogInfoView},        // 24 records, user commands
    {"document-edit", QStyle::SP_FileDialogContentsView},          // 25 sensor names
};

}  // namespace

QIcon NavIcon(int index, const QStyle* style)
{
    if (index < 0 || index >= static_cast<int>(std::size(kIcons))) return style->standardIcon(QStyle::SP_FileIcon);
    const IconChoice& c = kIcons[index];
    return QIcon::fromTheme(QString::fromLatin1(c.theme), style->standardIcon(c.fallback));
}

QIcon AppIcon(const QStyle* style)
{
    return QIcon::fromTheme(QStringLiteral("network-wireless"), style->standardIcon(QStyle::SP_ComputerIcon));
}
