#include "controls/NavIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QStyle>

#include <array>
#include <memory>
#include <optional>

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

// An icon read from the theme or the style the first time it is drawn or measured: the
// style's standard icons read every size of their images when they are made, and most
// navigation items are not on screen at start-up. Copies share the icon once read.
class CLazyIconEngine : public QIconEngine {
public:
    CLazyIconEngine(const IconChoice& choice, const QStyle* style)
        : state_(std::make_shared<State>(State{choice, style, std::nullopt}))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    bool isNull() override { return Icon().isNull(); }
    QIconEngine* clone() const override { return new CLazyIconEngine(*this); }

private:
    struct State {
        IconChoice choice;
        const QStyle* style;
        std::optional<QIcon> icon;
    };
    const QIcon& Icon()
    {
        if (state_->icon) return *state_->icon;
        const QIcon fallback = state_->style->standardIcon(state_->choice.fallback);
        state_->icon = state_->choice.theme ? QIcon::fromTheme(QString::fromLatin1(state_->choice.theme), fallback)
                                            : fallback;
        return *state_->icon;
    }
    std::shared_ptr<State> state_;
};

}  // namespace

QIcon NavIcon(int index, const QStyle* style)
{
    static constexpr IconChoice kUnknown{nullptr, QStyle::SP_FileIcon};
    const bool known = index >= 0 && index < static_cast<int>(std::size(kIcons));
    return QIcon(new CLazyIconEngine(known ? kIcons[index] : kUnknown, style));
}

QIcon AppIcon(const QStyle* style)
{
    return QIcon::fromTheme(QStringLiteral("network-wireless"), style->standardIcon(QStyle::SP_ComputerIcon));
}
