#pragma once
// "sealbook ftp": the FTP exchange for scripts, through the same client and
// rules as the FTP manager (backups, the rename rule, the messages). A failed
// operation throws CliError carrying the operation's message.

#include "cli/CommandLine.h"
#include "cli/PasswordSource.h"
#include "ftp/client/FtpSettings.h"

#include <iosfwd>

// The server settings from the command line; the password from PasswordSource.
FtpSettings FtpSettingsFromCommandLine(const CommandLine& line, const PasswordSource& passwords);

void RunFtpCommand(const CommandLine& line, const PasswordSource& passwords, std::ostream& out);
