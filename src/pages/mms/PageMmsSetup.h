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
    static constexpr int kCentre = 1210;
    static constexpr int kPort = 1211;
    static constexpr int kGateway = 1212;
    static constexpr int kApn = 1213;
    static constexpr int kUser = 1223;
    static constexpr int kPassword = 1224;
    static constexpr int kProxy = 1226;  // hidden, still written
    static constexpr int kNap = 1227;    // hidden, still written
    static constexpr int kSize = 1214;
    static constexpr int kBalance = 1215;
    static constexpr int kBrightness = 1216;  // spin 1014
    static constexpr int kMode = 1217;
    static constexpr int kPerMms = 1218;  // spin 1015
    static constexpr int kTimer = 1219;   // minutes
    static constexpr int kAlarmToFamily = 1220;
    static constexpr int kTimedToFamily = 1221;
    static constexpr int kSmsToFamily = 1222;
    static constexpr int kAlarmByMms = 1337;
    static constexpr int kSmsToOwner = 1228;
    static constexpr int kSmsNotice = 1229;
    static constexpr int kPicture = 1225;  // the picture area; its value is the saved picture's file
    static constexpr int kSave = 1;
    static constexpr int kView = 2;
    static constexpr int kStop = 3;  // also posted when a transfer failed

    static constexpr int kSpinMin = 0;  // brightness and pictures per MMS
    static constexpr int kSpinMax = 6;
    static constexpr int kTimerMaxDigits = 5;  // minutes of the timed MMS interval
    static constexpr const char* kPictureWidget = "MmsPicture";

    CPageMmsSetup(PageContext& context, const PageInfo& info);

    // The picture file shown in the picture area (listeners hear kPicture).
    void ShowPicture(const std::string& path) { SetText(kPicture, path); }
    const std::string& PicturePath() const { return TextOf(kPicture); }
};

}  // namespace rtu
