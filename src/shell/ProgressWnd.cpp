#include "shell/ProgressWnd.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

CSysProgressWnd::CSysProgressWnd(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint), bar_(new QProgressBar(this)),
      text_(new QLabel(this)), icon_(new QLabel(this))
{
    setObjectName("progress");
    setModal(false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Progress"));
    bar_->setObjectName("ctl1081");
    text_->setObjectName("ctl1228");
    icon_->setObjectName("ctl1596");
    bar_->setRange(rtu::CSysProgress::kBarMin, rtu::CSysProgress::kBarMax);
    bar_->setTextVisible(false);
    text_->setMinimumWidth(kTextMinWidth);
    text_->setTextFormat(Qt::PlainText);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon_->setPixmap(style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(iconSize, iconSize));
    icon_->setFixedSize(iconSize, iconSize);

    auto* row = new QHBoxLayout(this);
    row->addWidget(icon_, 0, Qt::AlignTop);
    auto* col = new QVBoxLayout;
    col->addWidget(text_);
    col->addWidget(bar_);
    row->addLayout(col, 1);

    Apply(rtu::CSysProgress::View{});
    qApp->installEventFilter(this);  // to step aside when a dialog opens
}

bool CSysProgressWnd::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched != this && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && !placePending_) {
        // The modal state is settled once the dialog's show or hide has finished.
        placePending_ = true;
        QTimer::singleShot(0, this, [this] {
            placePending_ = false;
            Place();
        });
    }
    return QDialog::eventFilter(watched, event);
}

void CSysProgressWnd::Place()
{
    const QWidget* modal = QApplication::activeModalWidget();
    const bool shown = wanted_ && (!modal || modal == this);
    if (shown && !isVisible()) {
        if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
            adjustSize();
            move(owner->geometry().center() - rect().center());
        }
        show();
    } else if (!shown && isVisible()) {
        hide();
    }
}

void CSysProgressWnd::Apply(const rtu::CSysProgress::View& view)
{
    setWindowTitle(QString::fromStdString(view.title));
    // A long report line is shown cut, on one line.
    text_->setText(fontMetrics().elidedText(QString::fromStdString(view.text), Qt::ElideRight, kTextCutWidth));
    icon_->setVisible(view.iconShown);
    bar_->setValue(view.bar);
    wanted_ = view.visible;
    Place();
}

void CSysProgressWnd::Dismiss()
{
    wanted_ = false;
    Place();
}

QString CSysProgressWnd::Text() const { return text_->text(); }
int CSysProgressWnd::Bar() const { return bar_->value(); }
