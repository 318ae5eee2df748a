// The custom widgets of the event list and the MMS page: the event table with its CSV
// export, and the picture area that shows the last camera picture.
#pragma once

#include <QLabel>
#include <QWidget>

class QTableView;
class CEventListModel;

namespace rtu {
class CPageEvents;
class CPageBase;
}  // namespace rtu

// Registers "EventList" and "MmsPicture" with the generated page views.
void RegisterEventWidgets();

class CEventListWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 20;       // pixels; one height for every row keeps scrolling cheap
    static constexpr int kMinVisibleRows = 12;  // rows the table shows at least inside a scrolled page

    CEventListWidget(rtu::CPageEvents& page, QWidget* parent = nullptr);
    QTableView* Table() const { return table_; }
    // Writes the list as CSV; false (and `error` says why) when the file could not be written.
    bool SaveCsv(const QString& path, QString& error);

private:
    void AskAndSaveCsv();

    rtu::CPageEvents& page_;
    CEventListModel* model_ = nullptr;
    QTableView* table_ = nullptr;
};

// A picture file drawn as large as the area allows with its aspect ratio kept. The file is
// read again on every SetFile (the same name holds a new picture) and on a click.
class CPictureArea : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString value READ File WRITE SetFile)
public:
    static constexpr int kMinWidth = 176;  // the smallest picture size the camera takes
    static constexpr int kMinHeight = 144;

    explicit CPictureArea(QWidget* parent = nullptr);
    QString File() const { return file_; }
    // Shows `file`; an empty name shows the fallback picture (the last one kept).
    void SetFile(const QString& file);
    void SetFallback(const QString& file) { fallback_ = file; }
    bool HasPicture() const { return !picture_.isNull(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Redraw();

    QString file_;
    QString fallback_;
    QPixmap picture_;
};
