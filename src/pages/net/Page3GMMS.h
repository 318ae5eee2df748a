// The 3G services: access point, the SMTP server used to send mail, the GIS server and GPS
// report interval, video settings for MMS and video calls, the video actions of two
// external inputs, and the FTP server.
#pragma once

#include <memory>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPage3GMMS : public CPageBase {
public:
    static constexpr int kApn = 1344;
    static constexpr int kUser = 1345;
    static constexpr int kPassword = 1346;  // masked
    static constexpr int kSmtpServer = 1347;
    static constexpr int kSmtpPort = 1348;
    static constexpr int kSmtpUser = 1349;
    static constexpr int kSmtpPassword = 1350;  // masked
    static constexpr int kSender = 1351;
    static constexpr int kGisServer = 1352;
    static constexpr int kGisPort = 1353;
    static constexpr int kGpsSpan = 1354;  // seconds
    static constexpr int kVideoChannel = 1544;
    static constexpr int kVideoFormat = 1546;
    static constexpr int kRecordSpan = 1355;
    static constexpr int kAlarmMms = 1548;
    static constexpr int kAlarmCall = 1549;
    static constexpr int kAlarmRecordCall = 1550;
    static constexpr int kCallInput1 = 1559;
    static constexpr int kCallInput2 = 1561;
    static constexpr int kRecordInput1 = 1560;
    static constexpr int kRecordInput2 = 1562;
    static constexpr int kChannelInput1 = 1551;
    static constexpr int kChannelInput2 = 1553;
    static constexpr int kFtpServer = 1356;
    static constexpr int kFtpPort = 1357;

    CPage3GMMS(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
