#pragma once

#include <QString>

// The maker's lines that the printer demonstrations print. The numbers are made up for the
// demonstration (555 numbers, which reach nobody).
inline QString makerTelephoneLine()
{
    return QStringLiteral("   TEL:+886-2-5550-1234");
}

inline QString makerFaxLine()
{
    return QStringLiteral("   FAX:+886-2-5550-1235");
}

inline QString makerChineseName()
{
    return QString::fromUtf8("泰威斯系統股份有限公司");
}

inline QString makerChineseAddress()
{
    return QString::fromUtf8("新北市範例區示範路一段一號");
}
