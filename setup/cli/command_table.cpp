#include "cli/cli_command.h"

QList<CliCommand> CliCommands()
{
    return {ParamsCommand(), FirmwareCommand(), TitleCommand(),
            DemoCommand(),   BalanceCommand(),  ListPortsCommand()};
}
