// The command-line tail, as the platform's start-up code of a GUI program computes it.
#include "framework/CommandLine.h"

const char* CommandLineTail(const char* commandLine)
{
    if (!commandLine) return "";
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}
