// SPDX-License-Identifier: MIT
#pragma once

#include "CommandLine.h"
#include "Paths.h"

class QTextStream;

// Runs a command line that asks for no window: prints to out (results) and err (messages, each
// naming its file), and returns the exit status (ExitStatus). Needs a QCoreApplication and no
// display.
int runCommandLine(const CommandLine &line, const Paths &paths, QTextStream &out, QTextStream &err);
