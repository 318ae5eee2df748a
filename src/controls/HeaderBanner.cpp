#include "controls/HeaderBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CDialogHeader::CDialogHeader(QWidget* parent)
    : QWidget(parent), icon_(new QLabel(this)), title_(new QLabel(this)), description_(new QLabel(this))
{
    setObjectName("header");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(12);
    icon_->setFixedSize(kIconSize, kIconSize);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title_->setFont(big);
    title_->setObjectName("headerTitle");
    description_->setObjectName("headerDescription");
    description_->setForegroundRole(QPalette::PlaceholderText);
    texts->addWidget(title_);
    texts->addWidget(description_);
    row->addLayout(texts, 1);
}

void CDialogHeader::SetTitle(const QString& title) { title_->setText(title); }
void CDialogHeader::SetDescription(const QString& text) { description_->setText(text); }
void CDialogHeader::SetIcon(const QIcon& icon) { icon_->setPixmap(icon.pixmap(kIconSize, kIconSize)); }
QString CDialogHeader::Title() const { return title_->text(); }
QString CDialogHeader::Description() const { return description_->text(); }
