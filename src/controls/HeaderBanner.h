#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;

// The banner at the top of the main window: an icon, a title and one description line.
class CDialogHeader : public QWidget {
    Q_OBJECT
public:
    static constexpr int kIconSize = 40;

    explicit CDialogHeader(QWidget* parent = nullptr);
    void SetTitle(const QString& title);
    void SetDescription(const QString& text);
    void SetIcon(const QIcon& icon);
    QString Title() const;
    QString Description() const;

private:
    QLabel* icon_;
    QLabel* title_;
    QLabel* description_;
};
