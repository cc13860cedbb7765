// The command-line tail: what follows the program name on the process's command line.
#pragma once

// Skips the program name (a quoted name runs to the closing quote; an unquoted one to the first
// blank or tab) and the blanks and tabs after it. The rest is returned as it is, quotes included.
const char* CommandLineTail(const char* commandLine);
