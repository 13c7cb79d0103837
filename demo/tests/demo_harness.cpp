#include "demo_harness.h"

#include "link/byte_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QRadioButton>
#include <QTest>
#include <QThread>

namespace {

// The settings as the recording port logs them: the serial control's style, "9600,n,8,1".
QString SettingsText(const LineSettings& settings)
{
    return settings.toText().toLower();
}

} // namespace

FakeSerialPort::~FakeSerialPort()
{
    close();
}

LinkStatus FakeSerialPort::setSettings(const LineSettings& settings)
{
    if (line_.settingsFailure) {
        line_.log->append(QStringLiteral("open failed %1").arg(portText_));
        return *line_.settingsFailure;
    }
    settings_ = settings;
    return LinkStatus::success();
}

LinkStatus FakeSerialPort::open()
{
    if (open_) {
        return LinkStatus::failure(LinkError::PortInUse, QStringLiteral("already open"));
    }
    if (line_.openFailure || line_.gonePorts.contains(portText_)) {
        line_.log->append(QStringLiteral("open failed %1").arg(portText_));
        return line_.openFailure.value_or(
            LinkStatus::failure(LinkError::PortMissing, QStringLiteral("No such file or directory")));
    }
    open_ = true;
    ++line_.openPorts;
    line_.log->append(QStringLiteral("open %1 %2").arg(portText_, SettingsText(settings_)));
    return LinkStatus::success();
}

LinkStatus FakeSerialPort::write(const QByteArray& bytes)
{
    if (!open_) {
        line_.log->append(QStringLiteral("failed write on a closed port"));
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("not open"));
    }
    if (++line_.writes == line_.vanishBeforeWrite) {
        line_.gonePorts.append(portText_);
    }
    if (line_.gonePorts.contains(portText_)) {
        line_.log->append(QStringLiteral("failed write"));
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("No such device"));
    }
    if (line_.writes == line_.failWriteNumber) {
        line_.log->append(QStringLiteral("failed write"));
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("Input/output error"));
    }
    line_.log->append(QStringLiteral("write ") + Hex(bytes));
    return LinkStatus::success();
}

void FakeSerialPort::close()
{
    if (open_) {
        open_ = false;
        --line_.openPorts;
        line_.log->append(QStringLiteral("close"));
    }
}

void ScriptedDialogs::message(Icon icon, const QString& title, const QString& text, const QString&)
{
    messages.append({icon, title, text});
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt, const QString& defaultText,
                               bool* accepted)
{
    prompts.append({prompt, title, defaultText, line != nullptr ? line->writes : 0});
    std::optional<QString> reply;
    if (!replies.empty()) {
        reply = replies.front();
        replies.pop_front();
    }
    if (accepted != nullptr) {
        *accepted = reply.has_value();
    }
    return reply.value_or(QString());
}

void DemoHarness::HarnessPacer::pump()
{
    if (realTimeWaits_) {
        QThread::usleep(1000);
    }
    VirtualPacer::pump();
}

DemoHarness::DemoHarness(LinkMaker makeLink, bool realTimeWaits)
    : pacer(realTimeWaits), worker(makeLink ? makeLink(*this) : std::make_unique<FakeSerialPort>(line), pacer)
{
    line.log = &log;
    dialogs.line = &line;
    worker.setPauseWatcher([this](int ms) { pauseBegins(ms); });
    navigator.showLauncher();
}

DemoHarness::~DemoHarness() = default;

DemoContext DemoHarness::makeContext()
{
    DemoContext made;
    made.portWorker = &worker;
    made.pacer = &pacer;
    made.dialogs = &dialogs;
    made.systemPorts = [] {
        return QList<SystemPortEntry>{
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("USB-Serial Controller")}};
    };
    made.endProgram = [this] { ++ended; };
    return made;
}

void DemoHarness::pauseBegins(int ms)
{
    QMutexLocker lock(&pauseMutex_);
    log.append(QStringLiteral("pause %1").arg(ms));
    if (!duringPause) {
        return;
    }
    // Held until the GUI thread has looked at the windows.
    pauseHeld_ = true;
    while (pauseHeld_) {
        pauseReleased_.wait(&pauseMutex_);
    }
}

void DemoHarness::settle()
{
    const QDeadlineTimer deadline(30000);
    for (;;) {
        QCoreApplication::processEvents();
        bool held = false;
        {
            QMutexLocker lock(&pauseMutex_);
            held = pauseHeld_;
        }
        if (held) {
            // What the worker handed to the GUI thread before the pause arrives first.
            QCoreApplication::sendPostedEvents();
            duringPause();
            QMutexLocker lock(&pauseMutex_);
            pauseHeld_ = false;
            pauseReleased_.wakeAll();
            continue;
        }
        if (!worker.busy()) {
            break;
        }
        if (deadline.hasExpired()) {
            qFatal("the port worker did not end its work");
        }
        QThread::yieldCurrentThread();
    }
    // Windows handed over close later; let that happen as in a real run.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

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
    settle();
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
    return hexBytes(bytes);
}
