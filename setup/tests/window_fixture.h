// The main window offscreen on the simulated display, as the widget tests drive it: a throw-away
// settings file, scripted dialogs, and clicks that pump the event loop until the operation ends.
#pragma once

#include "gui/main_window.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"

#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <memory>

struct WindowOptions
{
    ScriptedDialogs* dialogs = nullptr; // the test's own dialogs, when it must hold an operation
    QString storedTitle;                // a caption already in the settings, null for none
    bool keepNotice = false;            // keep the start-up notice among the messages
    std::function<std::unique_ptr<SerialLink>()> makeRealLink; // for port names other than "sim"
};

struct WindowFixture
{
    // `tab` is the page shown first, -1 for the window's own choice.
    explicit WindowFixture(int tab = -1, WindowOptions options = {});

    template <typename T = QPushButton> T* find(const char* name) const
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    // Shows a page the way a click on its tab does.
    void showTab(int tab);
    // Scripts the file dialog to answer `path`, then clicks `fileButton`.
    void choose(const char* fileButton, const QString& path);
    // Clicks a device button; true when an operation ran and finished within 10 s.
    bool clickAndWait(const char* name);
    // Writes `bytes` to a file of the temporary folder and returns its path.
    QString file(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    VirtualPacer pacer;
    SimulatedDisplay display;
    ScriptedDialogs ownDialogs;
    ScriptedDialogs& dialogs;
    std::unique_ptr<MainWindow> window;
};
