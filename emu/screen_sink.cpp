#include "emu/screen_sink.h"

#include "core/whole_file_save.h"

#include <cstdio>

ScreenSink::ScreenSink(std::function<QString()> text, const QString& path, QObject* parent)
    : QObject(parent), text_(std::move(text)), path_(path)
{
}

bool ScreenSink::refresh()
{
    const QString text = text_();
    if (!first_ && text == written_)
        return true;
    const QByteArray bytes = text.toUtf8();
    if (path_.isEmpty()) {
        std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
    } else if (const QString reason = saveWholeFile(path_, bytes); !reason.isEmpty()) {
        // Not taken as written: the next refresh tries again, and the file keeps the last screen
        // that was written whole.
        reason_ = reason;
        return false;
    }
    first_ = false;
    written_ = text;
    return true;
}
