// What makes a page or dialog unreadable, found on its widgets as laid out: a caption label
// bound to no control (a caption whose control is elsewhere or missing), two widgets on one
// spot, a button the user cannot see (scrolled into view where it sits in a scroll area), a
// column header cut short, and a number box too narrow for its largest value.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScrollArea>
#include <QStyle>
#include <QStringList>
#include <QTableWidget>
#include <QTest>

#include "shell/PageWidgets.h"

namespace layoutcheck {

// The screens every layout test runs on: a small laptop at scale 1, a larger screen at 1.5.
inline void AddScreenRows()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QString>("screen");  // physical pixels
    QTest::newRow("1366x768 at 1.0") << "1" << "1366x768";
    QTest::newRow("1600x1000 at 1.5") << "1.5" << "1600x1000";
}

// Runs this test program's slot `slot` in a child process with `env` and `scale`; what it
// printed, or nothing when it did not end within `ms` or failed.
struct ChildRun {
    bool ok = false;
    QString out;
};
inline ChildRun RunChild(const char* slot, QProcessEnvironment env, const QString& scale, int ms)
{
    env.insert("QT_SCALE_FACTOR", scale);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(slot)});
    const bool ended = child.waitForFinished(ms);
    ChildRun run{ended && child.exitCode() == 0, QString::fromUtf8(child.readAll())};
    if (!ended) run.out += QStringLiteral("\n(the child did not end in time)");
    return run;
}

inline constexpr const char* kNoteProperty = "note";  // a label that explains, not a caption

inline bool Shown(const QWidget* w, const QWidget* top) { return w->isVisibleTo(top) && !w->size().isEmpty(); }

// Widgets a page or dialog lays out: the controls, their captions and their boxes (not the
// parts a control is built of).
inline bool LaidOut(const QWidget* w)
{
    for (const QWidget* up = w->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QComboBox*>(up) ||
            qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const QAbstractButton*>(up))
            return false;
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QProgressBar*>(w);
}

inline QRect On(const QWidget* w, const QWidget* top) { return QRect(w->mapTo(top, QPoint(0, 0)), w->size()); }

// Where `w` can be seen: the viewport of the scroll area it sits in (scrolled to it), else `top`.
inline bool InSight(QWidget* w, QWidget* top)
{
    QWidget* seenIn = top;
    for (QWidget* up = w->parentWidget(); up && up != top; up = up->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            scroll->ensureWidgetVisible(w, 0, 0);
            QCoreApplication::processEvents();
            seenIn = scroll->viewport();
            break;
        }
    return seenIn->rect().contains(On(w, seenIn)) && top->rect().contains(On(seenIn, top));
}

inline QString Named(const QWidget* w)
{
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
    else if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
    else if (auto* g = qobject_cast<const QGroupBox*>(w)) text = g->title();
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
}

inline QStringList Faults(QWidget* page, QWidget* top, const QString& name)
{
    QStringList faults;
    const QList<QWidget*> all = page->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!Shown(w, top) || !LaidOut(w)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->text().trimmed().isEmpty() && !label->buddy() && !label->property(kNoteProperty).toBool() &&
                label->pixmap().isNull())
                faults << QStringLiteral("%1: caption \"%2\" is bound to no control").arg(name, label->text());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !InSight(button, top))
            faults << QStringLiteral("%1: button \"%2\" is out of sight").arg(name, button->text());
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            const int max = qobject_cast<CTextSpinBox*>(w) ? static_cast<CTextSpinBox*>(w)->Maximum() : 0;
            auto* edit = spin->findChild<QLineEdit*>();
            if (max > 0 && edit && edit->width() < edit->fontMetrics().horizontalAdvance(QString::number(max)) + 4)
                faults << QStringLiteral("%1: number box %2 is too narrow for %3")
                              .arg(name, spin->objectName())
                              .arg(max);
        }
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            QHeaderView* header = table->horizontalHeader();
            const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < table->columnCount(); ++c) {
                const QTableWidgetItem* item = table->horizontalHeaderItem(c);
                if (!item || table->isColumnHidden(c)) continue;
                if (header->sectionSize(c) < header->fontMetrics().horizontalAdvance(item->text()) + margin)
                    faults << QStringLiteral("%1: column header \"%2\" is cut").arg(name, item->text());
            }
        }
        // Siblings laid out over each other.
        for (QWidget* other : all) {
            if (other <= w || other->parentWidget() != w->parentWidget() || !Shown(other, top) || !LaidOut(other))
                continue;
            if (w->geometry().intersects(other->geometry()))
                faults << QStringLiteral("%1: %2 overlaps %3").arg(name, Named(w), Named(other));
        }
    }
    return faults;
}

}  // namespace layoutcheck
