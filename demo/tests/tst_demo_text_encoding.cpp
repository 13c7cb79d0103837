// The text encoding chosen on a port-selection window carries every text of the run: a KD-426 line
// prompt takes Chinese in Big5, and a reply with a character outside the encoding sends nothing.
#include "demo_harness.h"

#include <QComboBox>
#include <QTest>

class TestDemoTextEncoding : public QObject
{
    Q_OBJECT
private slots:
    void kd426LineReply_data()
    {
        QTest::addColumn<QString>("encoding"); // empty: left as it is
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("message"); // empty: none
        const QString open = QStringLiteral("open COM2 9600,n,8,1");
        QTest::newRow("Chinese in Big5")
            << "Big5" << QString::fromUtf8("台北")
            << QStringList{open, "write 1B 3D 32", "write 1B 71 41 A5 78 A5 5F 0D", "close"} << "";
        QTest::newRow("Chinese in the default")
            << "" << QString::fromUtf8("A台北") << QStringList{open, "write 1B 3D 32", "close"}
            << QString::fromUtf8("The character \"台\" (U+53f0) cannot be shown on the display: it has no "
                                 "byte in the text encoding windows-1252.\nNothing more is sent.");
        QTest::newRow("Cyrillic in Big5")
            << "Big5" << QString::fromUtf8("Жар") << QStringList{open, "write 1B 3D 32", "close"}
            << QString::fromUtf8("\"Ж\" (U+0416)");
    }
    void kd426LineReply()
    {
        QFETCH(QString, encoding);
        QFETCH(QString, reply);
        QFETCH(QStringList, log);
        QFETCH(QString, message);
        DemoHarness h;
        h.click(QStringLiteral("Command7"));
        if (!encoding.isEmpty()) {
            auto* list = h.current()->findChild<QComboBox*>(QStringLiteral("TextEncoding"));
            QVERIFY(list);
            list->setCurrentText(encoding);
            emit list->textActivated(list->currentText());
        }
        h.click(QStringLiteral("Option2"));
        h.click(QStringLiteral("Command1"));
        h.clearLog();
        h.dialogs.replies = {reply};
        h.click(QStringLiteral("Command1"));
        QCOMPARE(h.log, log);
        QCOMPARE(h.dialogs.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(h.dialogs.messages[0].text.contains(message), qPrintable(h.dialogs.messages[0].text));
    }
};

QTEST_MAIN(TestDemoTextEncoding)
#include "tst_demo_text_encoding.moc"
