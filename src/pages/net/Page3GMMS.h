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
    static constexpr int kApn = 1344, kUser = 1345, kPassword = 1346;  // access point; masked
    // The SMTP server that sends mail; the password is masked.
    static constexpr int kSmtpServer = 1347, kSmtpPort = 1348, kSmtpUser = 1349, kSmtpPassword = 1350;
    static constexpr int kSender = 1351;
    // The GIS server and the GPS report interval in seconds.
    static constexpr int kGisServer = 1352, kGisPort = 1353, kGpsSpan = 1354;
    // Video for MMS and video calls.
    static constexpr int kVideoChannel = 1544, kVideoFormat = 1546, kRecordSpan = 1355;
    static constexpr int kAlarmMms = 1548, kAlarmCall = 1549, kAlarmRecordCall = 1550;
    // The video actions of the two external inputs.
    static constexpr int kCallInput1 = 1559, kCallInput2 = 1561;
    static constexpr int kRecordInput1 = 1560, kRecordInput2 = 1562;
    static constexpr int kChannelInput1 = 1551, kChannelInput2 = 1553;
    static constexpr int kFtpServer = 1356, kFtpPort = 1357;

    CPage3GMMS(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
