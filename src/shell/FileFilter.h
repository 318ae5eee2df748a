#pragma once

#include <QString>

// A "(desc)|pattern|…|" filter list, as the unit's tool writes them, in Qt's "desc (patterns);;…".
QString QtFileFilter(const QString& winFilter);
