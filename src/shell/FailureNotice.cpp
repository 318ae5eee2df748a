#include "shell/FailureNotice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "link/PortProblem.h"
#include "link/SerialPort.h"
#include "session/Session.h"
#include "shell/ConnectionBar.h"
#include "shell/PageArea.h"
#include "shell/PageView.h"
#include "shell/SessionDriver.h"
#include "shell/SupportTools.h"

CFailureNotice::CFailureNotice(QWidget* parent)
    : QFrame(parent), text_(new QLabel(this)), portButton_(new QPushButton(tr("Choose port..."), this))
{
    setObjectName("failureNotice");
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("#failureNotice { background: #fff0f0; border: 1px solid #c00000; }"));
    auto* row = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    text_->setObjectName("failureText");
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    portButton_->setObjectName("failurePort");
    portButton_->setAutoDefault(false);
    auto* close = new QToolButton(this);
    close->setObjectName("failureClose");
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    close->setToolTip(tr("Close this notice"));
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text_, 1);
    row->addWidget(portButton_);
    row->addWidget(close, 0, Qt::AlignTop);
    connect(portButton_, &QPushButton::clicked, this, &CFailureNotice::choosePort);
    connect(close, &QToolButton::clicked, this, &CFailureNotice::Clear);
    hide();
}

void CFailureNotice::Watch(CSessionDriver& driver, CPageArea& pages, rtu::CSession& session, CConnectionBar& bar,
                           rtu::CSerialPort& port)
{
    support_ = new CSupportTools(port, session, this);
    bar.AddTool(support_->Button());
    connect(&driver, &CSessionDriver::portLost, this, [this, &port] { PortLost(port.PortName()); });
    connect(this, &CFailureNotice::choosePort, &bar, &CConnectionBar::ShowPortPicker);
    connect(&driver, &CSessionDriver::fieldRefused, this,
            [this, &pages, &session](const QString& page, const QList<int>& fields, const QString& text) {
                if (rtu::CPageBase* p = session.Page(page.toStdString()))
                    if (CPageView* view = pages.PageView(p->Info()->navId))
                        view->MarkRefused(fields, tr("The unit refused this value (CMD ERR)."));
                Tell(text, false);
            });
    connect(&driver, &CSessionDriver::noAnswer, this, [this](int, const QString& text) {
        Tell(QString::fromStdString(rtu::DescribeNoAnswer(text.toStdString())), true);
    });
}

void CFailureNotice::Tell(const QString& text, bool offerPort)
{
    text_->setText(text);
    portButton_->setVisible(offerPort);
    show();
}

void CFailureNotice::Clear()
{
    text_->clear();
    hide();
}

void CFailureNotice::OpenResult(bool open, const std::string& path, int err)
{
    if (open) Clear();
    else Tell(QString::fromStdString(rtu::DescribeOpenFailure(path, err)), true);
}

void CFailureNotice::PortClosed(const std::string& path, int lastErrno)
{
    Tell(QString::fromStdString(rtu::DescribeClosedPort(path, lastErrno)), true);
}

void CFailureNotice::PortLost(const std::string& path)
{
    Tell(QString::fromStdString(rtu::DescribePortLost(path)), true);
}

QString CFailureNotice::Text() const { return isHidden() ? QString() : text_->text(); }
bool CFailureNotice::PortOffered() const { return !isHidden() && !portButton_->isHidden(); }
