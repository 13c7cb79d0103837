#include "demo/tests/demo_harness.h"

#include "demo/emulators/emulated_serial_port.h"
#include "demo/model/byte_text.h"
#include "demo/windows/escpos_demo_window.h"
#include "demo/windows/mirror_grid.h"

#include "core/switching_link.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QThread>

void FakeLine::record(const QString& entry)
{
    QMutexLocker lock(&mutex);
    log.append(entry);
}

LinkStatus FakeSerialPort::setSettings(const LineSettings& settings)
{
    if (line_.settingsFailure) {
        line_.record(QStringLiteral("open failed %1").arg(portText_));
        return *line_.settingsFailure;
    }
    settings_ = settings;
    return LinkStatus::success();
}

LinkStatus FakeSerialPort::open()
{
    if (open_)
        return LinkStatus::failure(LinkFailure::PortOpenHere, QStringLiteral("already open"));
    if (line_.openFailure || line_.gonePorts.contains(portText_)) {
        line_.record(QStringLiteral("open failed %1").arg(portText_));
        return line_.openFailure.value_or(
            LinkStatus::failure(LinkFailure::PortMissing, QStringLiteral("No such file or directory")));
    }
    open_ = true;
    ++line_.openPorts;
    // The settings in the serial control's style, "9600,n,8,1".
    line_.record(QStringLiteral("open %1 %2").arg(portText_, settings_.toText().toLower()));
    return LinkStatus::success();
}

LinkStatus FakeSerialPort::write(const QByteArray& bytes)
{
    if (!open_) {
        line_.record(QStringLiteral("failed write on a closed port"));
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("not open"));
    }
    if (++line_.writes == line_.vanishBeforeWrite)
        line_.gonePorts.append(portText_);
    const bool gone = line_.gonePorts.contains(portText_);
    if (gone || line_.writes == line_.failWriteNumber) {
        line_.record(QStringLiteral("failed write"));
        return LinkStatus::failure(LinkFailure::WriteFailed, gone ? QStringLiteral("No such device")
                                                                  : QStringLiteral("Input/output error"));
    }
    line_.record(QStringLiteral("write ") + hexBytes(bytes));
    return LinkStatus::success();
}

void FakeSerialPort::close()
{
    if (open_) {
        open_ = false;
        --line_.openPorts;
        line_.record(QStringLiteral("close"));
    }
}

void ScriptedDialogs::message(Icon icon, const QString& title, const QString& text, const QString&)
{
    icons.append(icon);
    line->record(QStringLiteral("box %1: %2").arg(title, text));
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt, const QString& defaultText,
                               bool* accepted)
{
    // Every prompt carries the program's title; another one shows in the record.
    const QString shownTitle = title == demoProgramTitle() ? QString() : QStringLiteral("(%1) ").arg(title);
    line->record(QStringLiteral("ask %1%2[%3]")
                     .arg(shownTitle, prompt.isEmpty() ? prompt : prompt + u' ', defaultText));
    std::optional<QString> reply;
    if (!replies.empty()) {
        reply = replies.front();
        replies.pop_front();
    }
    if (accepted != nullptr)
        *accepted = reply.has_value();
    return reply.value_or(QString());
}

void DemoHarness::HarnessPacer::pump()
{
    if (realTimeWaits_)
        QThread::usleep(1000);
    VirtualPacer::pump();
}

DemoHarness::DemoHarness(CustomerDisplayEmulator* emulator, std::unique_ptr<SerialLink> real)
    : pacer(real != nullptr),
      simulated_(emulator != nullptr ? std::make_unique<EmulatedSerialPort>(*emulator) : nullptr),
      worker(std::make_unique<SwitchingLink>(simulated_.get(),
                                             real ? std::move(real) : std::make_unique<FakeSerialPort>(line)),
             pacer)
{
    dialogs.line = &line;
    navigator.show(NextWindow::Launcher);
}

DemoHarness::~DemoHarness() = default;

DemoContext DemoHarness::makeContext()
{
    DemoContext made;
    made.portWorker = &worker;
    made.simulatedDisplay = simulated_.get();
    made.pauseWatcher = [this](int ms) { pauseBegins(ms); };
    made.pacer = &pacer;
    made.dialogs = &dialogs;
    made.systemPorts = [] {
        return QList<SystemPortEntry>{
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("USB-Serial Controller")}};
    };
    made.endProgram = [this] { line.record(QStringLiteral("end")); };
    return made;
}

void DemoHarness::pauseBegins(int ms)
{
    line.record(QStringLiteral("pause %1").arg(ms));
    QMutexLocker lock(&pauseMutex_);
    if (!duringPause)
        return;
    // Held until the GUI thread has looked at the windows.
    pauseHeld_ = true;
    while (pauseHeld_)
        pauseReleased_.wait(pauseMutex_);
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
            pauseReleased_.notify_all();
            continue;
        }
        if (!worker.busy())
            break;
        if (deadline.hasExpired())
            qFatal("the device worker did not end its work");
        QThread::yieldCurrentThread();
    }
    // Windows handed over close later; let that happen as in a real run.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DemoHarness::click(const QString& objectName)
{
    auto* target = current() ? current()->findChild<QAbstractButton*>(objectName) : nullptr;
    if (target == nullptr)
        QFAIL(qPrintable(QStringLiteral("no control %1 on \"%2\"").arg(objectName, currentTitle())));
    // An option button takes clicks only on its circle and caption, which may not reach the middle of
    // a wide column; click on the circle.
    const bool option = qobject_cast<QRadioButton*>(target) != nullptr;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier,
                      option ? QPoint(8, target->height() / 2) : target->rect().center());
    settle();
}

void DemoHarness::answer(const QStringList& replies)
{
    dialogs.replies.clear(); // answers a failed run left unasked are not the person's next ones
    for (const QString& reply : replies)
        dialogs.replies.push_back(reply == QStringLiteral("<cancel>") ? std::nullopt : std::optional(reply));
}

void DemoHarness::perform(const QString& steps)
{
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList part = step.split(u':');
        const auto cell = [this, &part] {
            return currentAs<EscPosDemoWindow>()->mirrorGrid()->cellEdit(part[1].toInt());
        };
        const auto combo = [this](const char* name) { return current()->findChild<QComboBox*>(name); };
        if (part[0] == "cell") {
            QTest::mouseClick(cell(), Qt::LeftButton);
        } else if (part[0] == "key") {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, part[2]);
            QApplication::sendEvent(cell(), &press);
        } else if (part[0] == "encoding") {
            auto* list = current()->findChild<QComboBox*>("TextEncoding");
            list->setCurrentText(part[1]);
            emit list->textActivated(list->currentText());
        } else if (part[0] == "delete") {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
            QApplication::sendEvent(cell(), &press);
        } else if (part[0] == "enter") {
            QTest::keyClick(cell(), Qt::Key_Return);
        } else if (part[0] == "boudrate" && part[1].startsWith(u'#')) {
            combo("BOUDRATE")->setCurrentIndex(part[1].mid(1).toInt());
        } else if (part[0] == "boudrate") {
            combo("BOUDRATE")->lineEdit()->selectAll();
            QTest::keyClicks(combo("BOUDRATE")->lineEdit(), step.mid(9));
        } else if (part[0] == "command") {
            combo("S_COMMAND")->setCurrentIndex(part[1].toInt());
        } else if (part[0] == "system") {
            combo("SystemPorts")->setCurrentIndex(part[1].toInt());
            emit combo("SystemPorts")->activated(part[1].toInt());
        } else if (part[0] == "settings") {
            context.state.confirmLineSettings(step.mid(9));
        } else if (part[0] == "clock") {
            pacer.changeClock(part[1].toDouble(), pacer.milliseconds());
        } else if (part[0] == "type" || part[0] == "burst") {
            for (const QChar c : part[1]) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c == u'_' ? QChar(u' ') : c));
                QApplication::sendEvent(current()->focusWidget() ? current()->focusWidget() : current(),
                                        &press);
                if (part[0] == "type")
                    settle();
            }
        } else if (part[0] == "close") {
            current()->close();
        } else {
            click(step);
        }
        settle();
    }
}

int visibleWindows()
{
    int visible = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        visible += widget->isVisible() ? 1 : 0;
    return visible;
}
