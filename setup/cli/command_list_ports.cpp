#include "setup/cli/cli_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/port_name.h"
#include "core/qt_serial_link.h"

CliCommand listPortsCommand()
{
    CliCommand command;
    command.name = QStringLiteral("list-ports");
    command.synopsis =
        QStringLiteral("list-ports                     the serial ports this system reports, and sim");
    command.help = QStringLiteral(
        "Usage: vfdctl list-ports [--json]\n\n"
        "Prints one line per serial port that the system reports: its name and, where there is one,\n"
        "the USB adapter's description. The last line is 'sim', the built-in simulated display.\n"
        "COM1 to COM39 may also be given to --port; on Linux COMn opens /dev/ttyS<n-1>.\n\n"
        "  --json  one JSON array of {\"name\": ..., \"description\": ...} objects instead (also with\n"
        "          the global --json).\n");
    command.prepare = [](CliContext& context, const QStringList& args) {
        const bool json = args == QStringList{QStringLiteral("--json")} || context.json;
        if (!args.isEmpty() && args != QStringList{QStringLiteral("--json")}) {
            context.err << "vfdctl list-ports: takes only --json" << Qt::endl;
            return CliPlan::done(CliExit::Usage);
        }
        QList<QPair<QString, QString>> ports = QtSerialLink::systemPorts();
        ports.append({kSimulatedPortName, QStringLiteral("simulated VQ71xx display")});
        if (json) {
            QJsonArray array;
            for (const auto& [name, description] : ports)
                array.append(QJsonObject{{QStringLiteral("name"), name},
                                         {QStringLiteral("description"), description}});
            context.out << QJsonDocument(array).toJson(QJsonDocument::Compact) << Qt::endl;
            return CliPlan::done(CliExit::Ok);
        }
        for (const auto& [name, description] : ports)
            context.out << name << (description.isEmpty() ? QString() : QStringLiteral("\t") + description)
                        << Qt::endl;
        return CliPlan::done(CliExit::Ok);
    };
    return command;
}
