#include "shell/MmsTestWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString ObjectName(int control) { return QStringLiteral("comm_%1").arg(control); }

// Control ids of the window's parts.
constexpr int kPictureArea = 1225;
constexpr int kStatusLabel = 1448;
constexpr int kViewButton = 1446;
constexpr int kStopButton = 1447;

}  // namespace

CMmsTestWindow::CMmsTestWindow(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("comm_mms_window"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    picture_ = new QLabel(tr("No picture"), this);
    picture_->setObjectName(ObjectName(kPictureArea));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::Box);
    picture_->setMinimumSize(kPictureWidth, kPictureHeight);
    layout->addWidget(picture_, 1);

    status_ = new QLabel(this);
    status_->setObjectName(ObjectName(kStatusLabel));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto* row = new QHBoxLayout;
    const QString unavailable = tr("Viewing camera pictures is not available in this version.");
    for (auto [id, caption] : {std::pair{kViewButton, kViewCaption}, std::pair{kStopButton, kStopCaption}}) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(ObjectName(id));
        button->setEnabled(false);
        button->setToolTip(unavailable);
        row->addWidget(button);
    }
    row->addStretch(1);
    layout->addLayout(row);
}

void CMmsTestWindow::SetStatus(const QString& text) { status_->setText(text); }
QString CMmsTestWindow::Status() const { return status_->text(); }
