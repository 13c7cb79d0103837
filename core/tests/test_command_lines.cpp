// The usage errors of the windowed programs, in one wording, named with exit status 2 before any window
// system is touched, and their help with 0: they run on the X11 platform with no display, which aborts a
// program as soon as it reaches for one.
#include <QProcess>
#include <QTest>

class TestCommandLines : public QObject
{
    Q_OBJECT
private slots:
    void usageErrors_data()
    {
        QTest::addColumn<QString>("line");  // the program and its arguments
        QTest::addColumn<QString>("error"); // what it says after its name; "Usage:" for its help (status 0)
        QTest::newRow("unknown option") << "vfdsetup --prot sim"
                                        << "unknown option --prot (see vfdsetup --help)";
        QTest::newRow("before --help") << "vfddemo --bogus --help"
                                       << "unknown option --bogus (see vfddemo --help)";
        QTest::newRow("value missing") << "vfdsetup --port --factory"
                                       << "option --port needs a value";
        QTest::newRow("value refused") << "vfdemu -platform offscreen --headless=yes"
                                       << "option --headless takes no value";
        // Every option taken, with its value, up to the first word that is none; Qt's too.
        QTest::newRow("options taken")
            << "vfdsetup -platform offscreen -style=Fusion --style Fusion -geometry "
               "800x600 -reverse --port=sim --port COM2 --factory extra"
            << "unexpected argument 'extra' (see vfdsetup --help)";
        // A space of another width is quoted as its escape, not taken for a plain one.
        QTest::newRow("odd space quoted") << QString::fromUtf8("vfdemu stray\u2008word")
                                          << "unexpected argument 'stray<U+2008>word' (see vfdemu --help)";
        QTest::newRow("-h") << "vfddemo -platform offscreen -h"
                            << "Usage:";
        // Nothing after "--" is an option, and the programs take no other words.
        QTest::newRow("-- ends the options") << "vfdsetup --factory -- -h"
                                             << "unexpected argument '-h' (see vfdsetup --help)";
    }
    void usageErrors()
    {
        QFETCH(QString, line);
        QStringList arguments = line.split(u' ');
        const QString program = arguments.takeFirst();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QHash<QString, QString> paths{
            {"vfdsetup", VFDSETUP_PATH}, {"vfddemo", VFDDEMO_PATH}, {"vfdemu", VFDEMU_PATH}};
        process.start(paths.value(program), arguments);
        QVERIFY(process.waitForFinished(10000));
        QFETCH(QString, error);
        const bool help = error == "Usage:";
        // A Windows program ends its lines with CR LF.
        const QString output = QString::fromUtf8(process.readAll()).replace("\r\n", "\n");
        QVERIFY2(help ? output.startsWith("Usage: " + program) : output == program + ": " + error + "\n",
                 qPrintable(output));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), help ? 0 : 2);
    }
};

QTEST_GUILESS_MAIN(TestCommandLines)
#include "test_command_lines.moc"
