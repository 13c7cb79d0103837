#include "operations/demo_file.h"

#include "core/dialogs.h"
#include "protocol/file_helpers.h"
#include "protocol/frame.h"

#include <QDir>

DemoFileCheck checkDemoFile(const QString& path)
{
    const std::optional<QByteArray> head = readFileBytes(path, 1, 4);
    if (!head)
        return DemoFileCheck::ReadError;
    if (byteCount(head) != 4)
        return DemoFileCheck::Invalid;
    if (*head != buildFrame({0x55, 0xAA, 0x5A, 0xA5}))
        return DemoFileCheck::Illegal;
    return DemoFileCheck::Accepted;
}

void showDemoFileCheck(Dialogs& dialogs, DemoFileCheck check)
{
    switch (check) {
    case DemoFileCheck::Accepted:
        break;
    case DemoFileCheck::Invalid:
        dialogs.message(Dialogs::Critical, QStringLiteral("File Ststus"), QStringLiteral("InValid File!"));
        break;
    case DemoFileCheck::Illegal:
        dialogs.message(Dialogs::Critical, QStringLiteral("File Ststus"),
                        QStringLiteral("Illegal DEMO File!"));
        break;
    case DemoFileCheck::ReadError:
        dialogs.message(Dialogs::Critical, QStringLiteral("File Error"),
                        QStringLiteral("Open File Error !!"));
        break;
    }
}

QString demoFileName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    return path.mid(cut + 1);
}
