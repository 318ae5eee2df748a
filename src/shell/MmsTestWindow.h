// The MMS test window of camera units: a small tool window beside the main window with a
// picture area, a status line and the View and Stop buttons. Viewing a picture needs the
// camera picture to be kept, which this version does not do: the two buttons stay disabled
// and say so. The status line shows the unit's latest answer to an MMS or camera test.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class CMmsTestWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPictureWidth = 320;  // picture area, a QVGA picture at full size
    static constexpr int kPictureHeight = 240;
    static constexpr const char* kTitle = "彩信测试窗口";
    static constexpr const char* kViewCaption = "看图";
    static constexpr const char* kStopCaption = "停止";

    explicit CMmsTestWindow(QWidget* parent = nullptr);

    void SetStatus(const QString& text);
    QString Status() const;

private:
    QLabel* picture_ = nullptr;
    QLabel* status_ = nullptr;
};
