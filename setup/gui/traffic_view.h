#pragma once

#include <QWidget>

class Dialogs;
class QPlainTextEdit;
class TrafficLog;

// The traffic pane: what crossed the wire in this and earlier operations, one line an event, with
// "Clear" and "Save as..." (a plain text file the person chooses; nothing else is ever written).
class TrafficView : public QWidget
{
    Q_OBJECT

public:
    TrafficView(TrafficLog& log, Dialogs& dialogs, QWidget* parent = nullptr);

    // Takes in what the log gained since the last look (a timer does this while shown).
    void refresh();
    void clear();
    // Writes the lines shown to `path`, whole or not at all; the system's reason when it cannot be
    // written, else nothing.
    QString saveTo(const QString& path);
    void saveAs();
    QString text() const;

private:
    TrafficLog& log_;
    Dialogs& dialogs_;
    QPlainTextEdit* lines_;
    qsizetype shown_ = 0;
    int generation_ = -1;
};
