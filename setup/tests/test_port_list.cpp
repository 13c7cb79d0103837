// The window's port list: one entry per port, a system port that a COM entry opens shown beside it.
#include "core/port_name.h"
#include "gui/port_list.h"

#include <QTest>

using SystemPorts = QList<QPair<QString, QString>>;

class PortListTest : public QObject
{
    Q_OBJECT

private slots:
    // The entries as "text|beside|tooltip", bare COM entries left out; "COMn" stands for the system's
    // name of that port.
    void oneEntryPerPort_data()
    {
        QTest::addColumn<SystemPorts>("reported");
        QTest::addColumn<QString>("entries");
        const auto com = [](const char* name) { return *systemPortName(name); };
        QTest::newRow("none") << SystemPorts{} << "";
        QTest::newRow("COM ports") << SystemPorts{{com("COM1"), ""}, {com("COM39"), "16550A"}}
                                   << "COM1|" + com("COM1") + "| ; COM39|" + com("COM39") + "|16550A";
        QTest::newRow("past COM39") << SystemPorts{{com("COM40"), ""}} << com("COM40") + "||";
        QTest::newRow("adapter") << SystemPorts{{"/dev/ttyUSB0", "FT232R USB UART"}}
                                 << "/dev/ttyUSB0||FT232R USB UART";
    }
    void oneEntryPerPort()
    {
        QFETCH(SystemPorts, reported);
        QFETCH(QString, entries);
        QStringList seen;
        for (const PortListEntry& entry : portListEntries(reported))
            if (!entry.text.startsWith("COM") || !entry.beside.isEmpty())
                seen << entry.text + "|" + entry.beside + "|" + entry.tooltip;
        QCOMPARE(seen.join(" ; "),
                 (entries.isEmpty() ? QString() : entries + " ; ") + "sim||simulated VQ71xx display");
    }
};

QTEST_MAIN(PortListTest)
#include "test_port_list.moc"
