#include "setup/operations/input_file.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace {

// What a file that is not a regular one is, for the person; empty for a regular file.
QString kindOf(std::filesystem::file_type type)
{
    using Type = std::filesystem::file_type;
    switch (type) {
    case Type::regular:
        return {};
    case Type::directory:
        return QString::fromStdString(std::make_error_code(std::errc::is_a_directory).message());
    case Type::fifo:
        return QStringLiteral("Not a regular file but a FIFO");
    case Type::character:
    case Type::block:
        return QStringLiteral("Not a regular file but a device");
    case Type::socket:
        return QStringLiteral("Not a regular file but a socket");
    default:
        return QStringLiteral("Not a regular file");
    }
}

} // namespace

std::optional<Refusal> refuseUnlessRegularFile(const QString& path)
{
    std::error_code error;
    // Follows links: a link to a regular file is one.
    const std::filesystem::file_status status =
        std::filesystem::status(QFile(path).filesystemFileName(), error);
    QString reason = error ? QString::fromLocal8Bit(error.message()) : kindOf(status.type());
    if (reason.isEmpty())
        return std::nullopt;
    return Refusal{Refusal::FileUnreadable, 0, {}, reason};
}

bool isRegularFile(const QString& path)
{
    return !path.isEmpty() && !refuseUnlessRegularFile(path);
}
