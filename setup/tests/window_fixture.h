// The main window offscreen on the bench's simulated display, as the widget tests drive it: a
// throw-away settings file, scripted dialogs, and clicks that pump the event loop until the
// operation ends.
#pragma once

#include "setup/gui/main_window.h"
#include "setup/tests/device_bench.h"

#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <memory>

struct WindowFixture : Bench
{
    // `tab` is the page shown first (-1: the window's own choice); `own` replaces the bench's dialogs.
    // `makeRealLink` opens every port other than "sim" (a test's own link in front of the display);
    // `windowBoxes` are the window's own boxes, when `own` shows some of its boxes through them.
    explicit WindowFixture(int tab = -1, ScriptedDialogs* own = nullptr, const QString& storedTitle = {},
                           std::function<std::unique_ptr<SerialLink>()> makeRealLink = {},
                           GuiDialogs* windowBoxes = nullptr)
        : boxes(own ? *own : dialogs), settings(dir.filePath("store.ini"), QSettings::IniFormat)
    {
        if (!storedTitle.isNull())
            settings.setValue("vfdsetup/strFormTitle", storedTitle);
        window = std::make_unique<MainWindow>(
            DeviceServices{&pacer, &boxes, &display, std::move(makeRealLink), nullptr, windowBoxes},
            &settings);
        window->load();
        find<QComboBox>("CmbCOM")->setCurrentText("sim");
        if (tab >= 0)
            showTab(tab);
        window->show();
        notice = boxes.shown();
        boxes.clear();
    }

    template <typename T = QPushButton> T* find(const char* name) const
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    // Shows a page the way a click on its tab does.
    void showTab(int tab)
    {
        find<QTabBar>("tabMain")->setCurrentIndex(tab);
        window->showChosenPage();
    }
    // Scripts the file dialog to answer `path`, then clicks `fileButton`.
    void choose(const char* fileButton, const QString& path)
    {
        boxes.scriptFile(path);
        QTest::mouseClick(find(fileButton), Qt::LeftButton);
    }
    // Clicks a device button; true when an operation ran and finished within 10 s.
    bool clickAndWait(const char* name)
    {
        QSignalSpy done(&window->runner(), &OperationRunner::operationFinished);
        QTest::mouseClick(find(name), Qt::LeftButton);
        if (!window->runner().busy() && done.isEmpty())
            return false; // refused before any operation started
        return !done.isEmpty() || done.wait(10000);
    }

    ScriptedDialogs& boxes;
    QSettings settings;
    std::unique_ptr<MainWindow> window;
    QList<ScriptedDialogs::Shown> notice; // what the window showed at start-up
};
