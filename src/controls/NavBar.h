#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

class QToolBox;
class QListWidget;
class QListWidgetItem;

// The navigation bar: folders of icon items. One folder is open at a time; a click on an
// item reports the item's data value (the navigation id of a page).
class CNavBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kIconSize = 32;  // item icons, device-independent pixels

    explicit CNavBar(QWidget* parent = nullptr);

    // Returns the new folder's index.
    int AddFolder(const QString& caption);
    void AddItem(int folder, const QIcon& icon, const QString& caption, int value);

    int FolderCount() const;
    QString FolderCaption(int folder) const;
    int ItemCount(int folder) const;
    QString ItemCaption(int folder, int item) const;
    int ItemData(int folder, int item) const;
    QIcon ItemIcon(int folder, int item) const;
    // Folder and item that carry `data`; false when no item does.
    bool FindItem(int value, int& folder, int& item) const;

    int OpenFolder() const;
    void SetOpenFolder(int folder);
    // Marks the item that carries `data` as the chosen one (opening its folder) without
    // reporting a click.
    void SelectData(int value);
    // Acts as if the user clicked the item.
    void ClickItem(int folder, int item);
    // Shows the item that carries `value` in bold (its page holds unsaved edits).
    void SetItemMarked(int value, bool marked);
    bool ItemMarked(int value) const;

signals:
    void itemClicked(int data);
    void folderOpened(int folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateGrid(QListWidget* list) const;
    QListWidget* List(int folder) const;
    QListWidget* NewList();
    // Reports an item as chosen unless it is the one already reported.
    void Report(int value);

    QToolBox* box_;
    int reported_ = -1;       // the item last reported or selected from outside
    bool selecting_ = false;  // the current item is being set from outside: no report
};
