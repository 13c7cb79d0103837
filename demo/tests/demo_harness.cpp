#include "demo_harness.h"

#include "wire_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTest>

FakeSerialPort::~FakeSerialPort()
{
    close();
}

bool FakeSerialPort::open(const QString& portText, const QString& settings)
{
    if (open_) {
        error_ = {PortErrorNumber::InUse, QStringLiteral("already open")};
        return false;
    }
    if (line_.openFailure || line_.gonePorts.contains(portText)) {
        error_ = line_.openFailure.value_or(
            PortError{PortErrorNumber::Missing, QStringLiteral("No such file or directory")});
        line_.log->append(QStringLiteral("open failed %1").arg(portText));
        return false;
    }
    portText_ = portText;
    open_ = true;
    ++line_.openPorts;
    line_.log->append(QStringLiteral("open %1 %2").arg(portText, settings));
    return true;
}

bool FakeSerialPort::write(const QByteArray& bytes)
{
    if (!open_) {
        error_ = {PortErrorNumber::WriteFailed, QStringLiteral("not open")};
        line_.log->append(QStringLiteral("failed write on a closed port"));
        return false;
    }
    if (++line_.writes == line_.vanishBeforeWrite) {
        line_.gonePorts.append(portText_);
    }
    if (line_.gonePorts.contains(portText_)) {
        error_ = {PortErrorNumber::WriteFailed, QStringLiteral("No such device")};
        line_.log->append(QStringLiteral("failed write"));
        return false;
    }
    if (line_.writes == line_.failWriteNumber) {
        error_ = {PortErrorNumber::WriteFailed, QStringLiteral("Input/output error")};
        line_.log->append(QStringLiteral("failed write"));
        return false;
    }
    line_.log->append(QStringLiteral("write ") + Hex(bytes));
    return true;
}

void FakeSerialPort::close()
{
    if (open_) {
        open_ = false;
        --line_.openPorts;
        line_.log->append(QStringLiteral("close"));
    }
}

void FakeClock::pause(int ms)
{
    log_.append(QStringLiteral("pause %1").arg(ms));
    if (duringPause) {
        duringPause();
    }
    now = now.addMSecs(ms);
}

std::optional<QString> ScriptedDialogs::askText(QWidget*, const QString& prompt, const QString& title,
                                                const QString& defaultReply)
{
    prompts.append({prompt, title, defaultReply, line != nullptr ? line->writes : 0});
    if (replies.empty()) {
        return std::nullopt;
    }
    const bool cancelled = !replies.front().has_value();
    const QString text = replies.front().value_or(QString());
    replies.pop_front();
    if (cancelled) {
        return std::nullopt;
    }
    return text;
}

void ScriptedDialogs::showMessage(QWidget*, Icon icon, const QString& title, const QString& text)
{
    messages.append({icon, title, text});
}

DemoHarness::DemoHarness()
{
    line.log = &log;
    dialogs.line = &line;
    context.makePort = [this] { return std::make_unique<FakeSerialPort>(line); };
    context.clock = &clock;
    context.dialogs = &dialogs;
    context.systemPorts = [] {
        return QList<SystemPortEntry>{
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("USB-Serial Controller")}};
    };
    context.endProgram = [this] { ++ended; };
    navigator.showLauncher();
}

DemoHarness::~DemoHarness() = default;

QString DemoHarness::currentTitle() const
{
    return current() ? current()->windowTitle() : QString();
}

QAbstractButton* DemoHarness::button(const QString& objectName) const
{
    return current() ? current()->findChild<QAbstractButton*>(objectName) : nullptr;
}

void DemoHarness::click(const QString& objectName)
{
    QAbstractButton* target = button(objectName);
    if (target == nullptr) {
        QFAIL(qPrintable(QStringLiteral("no control %1 on \"%2\"").arg(objectName, currentTitle())));
    }
    // An option button takes clicks only on its circle and caption, which may not reach the middle of
    // a wide column; click on the circle.
    const bool option = qobject_cast<QRadioButton*>(target) != nullptr;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier,
                      option ? QPoint(8, target->height() / 2) : target->rect().center());
    // Windows handed over close later; let that happen as in a real run.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList DemoHarness::writes() const
{
    QStringList result;
    for (const QString& entry : log) {
        if (entry.startsWith(QStringLiteral("write "))) {
            result.append(entry.mid(6));
        }
    }
    return result;
}

QStringList DemoHarness::traffic() const
{
    QStringList result;
    for (const QString& entry : log) {
        if (entry.startsWith(QStringLiteral("write "))) {
            result.append(entry.mid(6));
        } else if (entry.startsWith(QStringLiteral("pause "))) {
            result.append(entry);
        }
    }
    return result;
}

int VisibleWindows()
{
    int visible = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        visible += widget->isVisible() ? 1 : 0;
    }
    return visible;
}

void DemoHarness::reachEpson(int port)
{
    click(QStringLiteral("Command6"));
    click(QStringLiteral("Option%1").arg(port));
    click(QStringLiteral("Command1"));
}

void DemoHarness::reachKd426(int port)
{
    click(QStringLiteral("Command7"));
    click(QStringLiteral("Option%1").arg(port));
    click(QStringLiteral("Command1"));
}

void DemoHarness::reachKd138(int port)
{
    click(QStringLiteral("Command8"));
    click(QStringLiteral("Option%1").arg(port));
    click(QStringLiteral("Command1"));
}

QString Hex(const QByteArray& bytes)
{
    return HexBytes(bytes);
}
