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
        // A description that only repeats the patterns ("(*.txt)") gets a name instead.
        QString name = desc;
        if (name.isEmpty() || name.startsWith(QLatin1Char('(')))
            name = patterns.size() == 1 && patterns[0] == QLatin1String("*")
                       ? QStringLiteral("All files")
                       : QStringLiteral("%1 files").arg(patterns.value(0).section(QLatin1Char('.'), -1).toUpper());
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}
