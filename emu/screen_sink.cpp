#include "emu/screen_sink.h"

#include <QSaveFile>
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
    first_ = false;
    written_ = text;
    const QByteArray bytes = text.toUtf8();
    if (path_.isEmpty()) {
        std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
        return true;
    }
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
