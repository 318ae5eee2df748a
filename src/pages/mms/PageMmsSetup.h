// The MMS and camera page: the MMS service (centre, gateway, access point, account), the
// camera (picture size, brightness, white balance, shooting mode), pictures per MMS, the
// timed MMS interval and who receives alarm and timed messages. It also fetches one picture
// from the camera and shows the last one saved.
#pragma once

#include <memory>
#include <string>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageMmsSetup : public CPageBase {
public:
    static constexpr int kFrame = 1268;
    // The MMS service; proxy and NAP are hidden but still written.
    static constexpr int kCentre = 1210, kPort = 1211, kGateway = 1212, kApn = 1213;
    static constexpr int kUser = 1223, kPassword = 1224, kProxy = 1226, kNap = 1227;
    // The camera; brightness and pictures per MMS have spin buttons, the timer is minutes.
    static constexpr int kSize = 1214, kBalance = 1215, kBrightness = 1216, kMode = 1217;
    static constexpr int kPerMms = 1218, kTimer = 1219;
    // Who receives what.
    static constexpr int kAlarmToFamily = 1220, kTimedToFamily = 1221, kSmsToFamily = 1222;
    static constexpr int kAlarmByMms = 1337, kSmsToOwner = 1228, kSmsNotice = 1229;
    static constexpr int kPicture = 1225;  // the picture area; its value is the saved picture's file
    // The buttons; kStop is also posted when a transfer failed.
    static constexpr int kSave = 1, kView = 2, kStop = 3;

    static constexpr int kSpinMin = 0, kSpinMax = 6;  // brightness and pictures per MMS
    static constexpr int kTimerMaxDigits = 5;         // minutes of the timed MMS interval
    static constexpr const char* kPictureWidget = "MmsPicture";

    CPageMmsSetup(PageContext& context, const PageInfo& info);

    // The picture file shown in the picture area (listeners hear kPicture).
    void ShowPicture(const std::string& path) { SetText(kPicture, path); }
    const std::string& PicturePath() const { return TextOf(kPicture); }
};

}  // namespace rtu
