#include "window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

WindowFixture::WindowFixture(int tab, WindowOptions options)
    : display(pacer), dialogs(options.dialogs ? *options.dialogs : ownDialogs)
{
    settings = std::make_unique<QSettings>(dir.filePath("store.ini"), QSettings::IniFormat);
    if (!options.storedTitle.isNull())
        settings->setValue("vfdsetup/strFormTitle", options.storedTitle);
    window = std::make_unique<MainWindow>(
        DeviceServices{&pacer, &dialogs, &display, std::move(options.makeRealLink)}, settings.get());
    window->load();
    window->findChild<QComboBox*>("CmbCOM")->setCurrentText("sim");
    if (tab >= 0)
        window->findChild<QTabBar*>("tabMain")->setCurrentIndex(tab);
    window->show();
    if (!options.keepNotice)
        dialogs.clear();
}

void WindowFixture::showTab(int tab)
{
    find<QTabBar>("tabMain")->setCurrentIndex(tab);
    window->showChosenPage();
}

void WindowFixture::choose(const char* fileButton, const QString& path)
{
    dialogs.scriptFile(path);
    QTest::mouseClick(find(fileButton), Qt::LeftButton);
}

bool WindowFixture::clickAndWait(const char* name)
{
    QSignalSpy done(&window->runner(), &OperationRunner::operationFinished);
    QTest::mouseClick(find(name), Qt::LeftButton);
    // A click refused before any operation started finishes nothing.
    if (!window->runner().busy() && done.isEmpty())
        return false;
    return !done.isEmpty() || done.wait(10000);
}

QString WindowFixture::file(const QString& name, const QByteArray& bytes) const
{
    const QString path = dir.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
