// The window's port list: one entry per port, a system port that a COM entry opens shown beside it.
#include "core/port_name.h"
#include "gui/port_list.h"

#include <QTest>

using SystemPorts = QList<QPair<QString, QString>>;

class PortListTest : public QObject
{
    Q_OBJECT

private slots:
    void oneEntryPerPort_data()
    {
        QTest::addColumn<SystemPorts>("reported");
        QTest::addColumn<QStringList>("entries"); // "text|beside|tooltip", bare COM entries left out
        const QString com1 = *systemPortName("COM1");
        const QString com39 = *systemPortName("COM39");
        const QString com40 = *systemPortName("COM40");
        const QString sim = "sim||simulated VQ71xx display";
        QTest::newRow("none") << SystemPorts{} << QStringList{sim};
        QTest::newRow("COM ports") << SystemPorts{{com1, ""}, {com39, "16550A"}}
                                   << QStringList{"COM1|" + com1 + "|", "COM39|" + com39 + "|16550A", sim};
        QTest::newRow("past COM39") << SystemPorts{{com40, ""}} << QStringList{com40 + "||", sim};
        QTest::newRow("adapter") << SystemPorts{{"/dev/ttyUSB0", "FT232R USB UART"}}
                                 << QStringList{"/dev/ttyUSB0||FT232R USB UART", sim};
    }

    void oneEntryPerPort()
    {
        QFETCH(SystemPorts, reported);
        QStringList entries;
        for (const PortListEntry& entry : portListEntries(reported))
            if (!entry.text.startsWith("COM") || !entry.beside.isEmpty())
                entries << entry.text + "|" + entry.beside + "|" + entry.tooltip;
        QTEST(entries, "entries");
    }
};

QTEST_MAIN(PortListTest)
#include "test_port_list.moc"
