#include "shell/ProfileFiles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "session/Session.h"
#include "shell/RegSetting.h"

QString CProfileFiles::UnitId(const rtu::CSession& session)
{
    const rtu::CPageBase* main = session.Page("CPageMainParams");
    const rtu::FieldDecl* uid = main ? main->FindFieldByReportKey("$DID") : nullptr;
    return uid ? QString::fromStdString(main->TextOf(uid->id)) : QString();
}

QString CProfileFiles::SuggestedName(const QString& unitId, const QDate& day)
{
    QString id;
    for (const QChar c : unitId.trimmed().left(kMaxUnitIdChars))
        id += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ? c : QLatin1Char('_');
    if (id.isEmpty()) id = QString::fromLatin1(kNoUnitId);
    return QStringLiteral("%1-%2.%3").arg(id, day.toString(QStringLiteral("yyyyMMdd")), QString::fromLatin1(kSuffix));
}

QString CProfileFiles::StartPath(bool save, const QString& unitId, const QDate& day) const
{
    QString folder = settings_.ReadText(QString::fromLatin1(kFolderSetting));
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return save ? QDir(folder).filePath(SuggestedName(unitId, day)) : folder;
}

QString CProfileFiles::Accept(bool save, const QString& chosen)
{
    if (chosen.isEmpty()) return chosen;
    QString path = chosen;
    const QFileInfo info(path);
    if (save && info.suffix().isEmpty() && !info.fileName().isEmpty())
        path += QLatin1Char('.') + QString::fromLatin1(kSuffix);
    settings_.WriteText(QString::fromLatin1(kFolderSetting), QFileInfo(path).absolutePath());
    return path;
}

QString CProfileFiles::Ask(QWidget* parent, bool save, const QString& start, const QString& filter)
{
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) dialog.setDefaultSuffix(QString::fromLatin1(kSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
