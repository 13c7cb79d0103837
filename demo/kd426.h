#pragma once

#include "demo_window.h"

#include <QByteArray>
#include <QString>

class Navigator;
class port_form;

// "KD426-繁體": the four-line model's line commands, its clock and the printer pass-through. Every
// press opens the shared port, writes, and closes it again.
class KD426 : public DemoWindow
{
    Q_OBJECT
public:
    explicit KD426(Navigator& navigator);

private:
    void press(int number);
    // Runs one button's steps on an open port; false at the first step that fails.
    bool run(int number, port_form& port);
    // Prompts and writes `command`, the reply and CR as one write.
    bool promptLine(port_form& port, const QByteArray& command, const QString& defaultReply);
    bool timeLine(port_form& port, char letter);
    bool toPrinter(port_form& port);

    Navigator& navigator_;
};
