// The program's entry point: hands the raw command-line tail to the application object.
#include "framework/CommandLine.h"
#include "framework/WinApp.h"
#include "text/Utf8.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The tail is taken from the full command line ourselves, so that it is exactly what the user
    // typed after the program name, quotes included; read wide and kept in UTF-8, so that a question
    // in any script arrives whole.
    static const std::string commandLine = WideToUtf8(GetCommandLineW());
    return AfxWinMain(instance, CommandLineTail(commandLine.c_str()));
}
