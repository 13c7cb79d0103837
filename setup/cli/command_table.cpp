#include "setup/cli/cli_command.h"

QList<CliCommand> cliCommands()
{
    return {paramsCommand(),  firmwareCommand(), titleCommand(),    demoCommand(),
            balanceCommand(), applyCommand(),    listPortsCommand()};
}
