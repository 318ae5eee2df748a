// The MMS test window of camera units: a small tool window beside the main window with a
// picture area, a status line and the View and Stop buttons. View shows the last picture
// kept and asks the camera for a new one through the MMS page; Stop ends a transfer. The
// picture area follows the MMS page's picture; a click on it reads the file again. The
// status line shows the unit's latest answer to an MMS or camera test.
#pragma once

#include <QDialog>

class QLabel;
class CPictureArea;

namespace rtu {
class CSession;
}

class CMmsTestWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPictureWidth = 320;  // picture area, a QVGA picture at full size
    static constexpr int kPictureHeight = 240;
    // The window's texts: the catalog's ("MmsTest" section), else these.
    static constexpr const char* kSection = "MmsTest";
    static constexpr const char* kTitle = "MMS test";
    static constexpr const char* kViewCaption = "View picture";
    static constexpr const char* kStopCaption = "Stop";

    explicit CMmsTestWindow(rtu::CSession& session, QWidget* parent = nullptr);
    ~CMmsTestWindow() override;

    void SetStatus(const QString& text);
    QString Status() const;
    CPictureArea* Picture() const { return picture_; }

private:
    void View();
    QString Text(const char* key, const char* fallback) const;
    QString LastPicture() const;

    rtu::CSession& session_;
    CPictureArea* picture_ = nullptr;
    QLabel* status_ = nullptr;
    int listener_ = 0;
};
