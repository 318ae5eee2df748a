#include "shell/FileFilter.h"

#include <QStringList>

QString QtFileFilter(const QString& winFilter)
{
    const QStringList parts = winFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (desc.isEmpty() && patterns.isEmpty()) continue;
        for (QString& p : patterns)
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");  // every file, dotted or not
        filters << QStringLiteral("%1 (%2)").arg(desc, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}
