#include "cli_command.h"
#include "port_name.h"
#include "qt_serial_link.h"

CliCommand ListPortsCommand()
{
    CliCommand command;
    command.name = QStringLiteral("list-ports");
    command.synopsis =
        QStringLiteral("list-ports                     the serial ports this system reports, and sim");
    command.help = QStringLiteral(
        "Usage: vfdctl list-ports\n\n"
        "Prints one line per serial port that the system reports: its name and, where there is one,\n"
        "the USB adapter's description. The last line is 'sim', the built-in simulated display.\n"
        "COM1 to COM39 may also be given to --port; on Linux COMn opens /dev/ttyS<n-1>.\n");
    command.run = [](CliSession& session, const QStringList& args) {
        if (!args.isEmpty()) {
            session.err << "vfdctl list-ports: takes no arguments" << Qt::endl;
            return CliExit::Usage;
        }
        for (const auto& [name, description] : QtSerialLink::systemPorts())
            session.out << name << (description.isEmpty() ? QString() : QStringLiteral("\t") + description)
                        << Qt::endl;
        session.out << kSimulatedPortName << "\tsimulated VQ71xx display" << Qt::endl;
        return CliExit::Ok;
    };
    return command;
}
