#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Where the headless display writes its screen text whenever it has changed: to stdout, each screen
// followed by a blank line, or to a file that is replaced whole (written aside, then renamed), so that a
// reader never sees half a screen.
class ScreenSink : public QObject
{
    Q_OBJECT
public:
    // `path` empty: stdout.
    ScreenSink(std::function<QString()> text, const QString& path, QObject* parent = nullptr);

    // Writes the text when it differs from what was written last; false when the file cannot be written
    // (it is tried again at the next refresh, and reason() says why).
    bool refresh();
    QString reason() const { return reason_; }

private:
    std::function<QString()> text_;
    QString path_;
    QString written_;
    bool first_ = true;
    QString reason_;
};
