// Text in the display's own code page: the encoder, byte-measured lines, title files in either
// encoding, vfdctl's --encoding, and the window's offer of the code page's encoding.
#include "core/wire_text.h"
#include "device_bench.h"
#include "operations/title_file.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QTest>

namespace {

// The empty encoding name stands for the system's default.
WireEncoding encoding(const QString& name)
{
    return name.isEmpty() ? WireEncoding() : WireEncoding::fromName(name).value();
}

} // namespace

class TestWireEncoding : public QObject
{
    Q_OBJECT
private slots:
    // A null `bytes` means refused; `refusal` is then part of the message.
    void encodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("default") << "" << QString::fromUtf8("Café €") << QByteArray("Caf\xE9 \x80") << "";
        QTest::newRow("windows-1251")
            << "windows-1251" << QString::fromUtf8("Привет") << QByteArray::fromHex("cff0e8e2e5f2") << "";
        QTest::newRow("IBM866") << "IBM866" << QString::fromUtf8("Привет")
                                << QByteArray::fromHex("8fe0a8a2a5e2") << "";
        QTest::newRow("IBM737") << "IBM737" << QString::fromUtf8("Γειά") << QByteArray::fromHex("829ca0e1")
                                << "";
        QTest::newRow("windows-1257")
            << "windows-1257" << QString::fromUtf8("Ąž") << QByteArray::fromHex("c0fe") << "";
        QTest::newRow("Shift_JIS") << "Shift_JIS" << QString::fromUtf8("ｶﾀｶﾅ")
                                   << QByteArray::fromHex("b6c0b6c5") << "";
        QTest::newRow("Big5") << "Big5" << QString::fromUtf8("台北") << QByteArray::fromHex("a578a55f") << "";
        QTest::newRow("Cyrillic in the default")
            << "" << QString::fromUtf8("aЖb") << QByteArray()
            << "The character \"Ж\" (U+0416) cannot be shown on the display: it has no byte in the text "
               "encoding windows-1252.";
        QTest::newRow("euro sign in IBM866, after encodable text")
            << "IBM866" << QString::fromUtf8("Привет €") << QByteArray() << "\"€\" (U+20ac)";
        QTest::newRow("emoji in Big5") << "Big5" << QString::fromUtf8("中\U0001F600") << QByteArray()
                                       << QString::fromUtf8("\"\U0001F600\" (U+1f600)");
    }
    void encodes()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const WireBytes encoded = encoding(name).encode(text);
        QCOMPARE(encoded.bytes, bytes);
        QVERIFY2(encoded.refusal.contains(refusal) && encoded.refusal.isEmpty() == refusal.isEmpty(),
                 qPrintable(encoded.refusal));
    }

    void linesAreMeasuredInBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("bytes"); // null: refused
        const QString big5Line = QString::fromUtf8("中文中文中文中文中文");
        QTest::newRow("padded with spaces")
            << "IBM866" << QString::fromUtf8("Мир") << QByteArray::fromHex("8ca8e0") + QByteArray(17, ' ');
        QTest::newRow("10 Big5 characters fill 20 bytes")
            << "Big5" << big5Line << QByteArray::fromHex("a4a4a4e5").repeated(5);
        QTest::newRow("21 bytes refused, not cut") << "Big5" << big5Line + "a" << QByteArray();
        QTest::newRow("20 half-width katakana")
            << "Shift_JIS" << QString::fromUtf8("ｶ").repeated(20) << QByteArray(20, '\xB6');
        QTest::newRow("20 kanji refused")
            << "Shift_JIS" << QString::fromUtf8("日").repeated(20) << QByteArray();
    }
    void linesAreMeasuredInBytes()
    {
        QFETCH(QString, name);
        QFETCH(QString, line);
        QFETCH(QByteArray, bytes);
        const WireBytes encoded = encoding(name).encodeLine(line, 20);
        QCOMPARE(encoded.bytes, bytes);
        QCOMPARE(encoded.refusal.contains(QStringLiteral("a display line holds 20")), bytes.isNull());
    }

    void titleFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("windows-1252 file")
            << QByteArray("Caf\xE9\nx") << "" << QStringList{QString::fromUtf8("Café"), "x"} << "";
        QTest::newRow("IBM866 file") << QByteArray::fromHex("8fe0a8a2a5e20a8ca8e0") << "IBM866"
                                     << QStringList{QString::fromUtf8("Привет"), QString::fromUtf8("Мир")}
                                     << "";
        QTest::newRow("UTF-8 comes first")
            << QByteArray("\xD0\x96\nx") << "IBM866" << QStringList{QString::fromUtf8("Ж"), "x"} << "";
        QTest::newRow("neither UTF-8 nor Big5")
            << QByteArray("ab\xA4\ncd") << "Big5" << QStringList{}
            << "\"t.txt\" is neither UTF-8 text nor text in the text encoding Big5.\r\nNothing was read.";
    }
    void titleFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("t.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const TitleFileLines read = readTitleFile(file.fileName(), encoding(name));
        QCOMPARE(read.lines, lines);
        QCOMPARE(read.refusal, message);
    }

    // Each run of vfdctl on one simulated display: its exit status, a part of stderr, and the upper line
    // that --show prints afterwards (empty: nothing at all was written).
    void vfdctlEncoding_data()
    {
        QTest::addColumn<QList<QStringList>>("runs");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("upperLine");
        const QStringList sim{"--port", "sim"};
        const QString usage = "vfdctl: --encoding takes a text encoding such as windows-1252, ";
        QTest::newRow("unknown name")
            << QList<QStringList>{sim + QStringList{"--encoding", "x-bogus", "title", "erase"}} << 2
            << usage + "windows-1250"
            << "";
        QTest::newRow("UTF-16 keeps no ASCII")
            << QList<QStringList>{sim + QStringList{"--encoding", "UTF-16", "title", "erase"}} << 2 << usage
            << "";
        QTest::newRow("Big5 line of 21 bytes")
            << QList<QStringList>{sim + QStringList{"--encoding", "Big5", "title", "write",
                                                    QString::fromUtf8("中文中文中文中文中文a"), "x"}}
            << 1 << "takes 21 bytes in the text encoding Big5; a display line holds 20"
            << "";
        QTest::newRow("mixed text refused whole")
            << QList<QStringList>{sim + QStringList{"title", "write", QString::fromUtf8("Café Жар"), "x"}}
            << 1 << QString::fromUtf8("\"Ж\" (U+0416)") << "";
        QTest::newRow("Cyrillic title on a Russian display")
            << QList<QStringList>{sim + QStringList{"params", "write", "--code-page", "Russian"},
                                  sim + QStringList{"--encoding", "IBM866", "--show", "title", "write",
                                                    QString::fromUtf8("Привет"), QString::fromUtf8("Мир")}}
            << 0 << "" << QString::fromUtf8("Привет              ");
    }
    void vfdctlEncoding()
    {
        QFETCH(QList<QStringList>, runs);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, upperLine);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        VfdctlRun run;
        for (const QStringList& arguments : runs)
            run = RunVfdctl(arguments, pacer, display);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(error), qPrintable(run.err));
        if (upperLine.isEmpty()) {
            QVERIFY(display.writes().isEmpty());
        } else {
            QVERIFY2(run.out.contains(QLatin1Char('|') + upperLine + QLatin1Char('|')), qPrintable(run.out));
        }
    }

    // "list:item" picks in order, as the person makes them; then the encoding the window uses.
    void codePageOffer_data()
    {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("Russian") << QStringList{"CmbCodePageSelect:Russian"} << "IBM866";
        QTest::newRow("Greek, then Katakana")
            << QStringList{"CmbCodePageSelect:Greek", "CmbCodePageSelect:Katakana"} << "Shift_JIS";
        QTest::newRow("WPC1257") << QStringList{"CmbCodePageSelect:WPC1257"} << "windows-1257";
        QTest::newRow("PC850") << QStringList{"CmbCodePageSelect:PC850"} << "IBM850";
        QTest::newRow("Europe offers nothing") << QStringList{"CmbCodePageSelect:Europe"} << "windows-1252";
        QTest::newRow("the person's own choice stays")
            << QStringList{"CmbTextEncoding:windows-1251", "CmbCodePageSelect:Greek"} << "windows-1251";
    }
    void codePageOffer()
    {
        QFETCH(QStringList, picks);
        QFETCH(QString, encoding);
        WindowFixture w(0);
        for (const QString& pick : picks) {
            auto* list = w.find<QComboBox>(qPrintable(pick.section(QLatin1Char(':'), 0, 0)));
            list->setCurrentText(pick.section(QLatin1Char(':'), 1));
            emit list->activated(list->currentIndex());
        }
        QCOMPARE(w.find<QComboBox>("CmbTextEncoding")->currentText(), encoding);
        QCOMPARE(w.window->selection().encoding.name(), encoding);
    }
};

QTEST_MAIN(TestWireEncoding)
#include "test_wire_encoding.moc"
