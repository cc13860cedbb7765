// The program's entry point: hands the raw command-line tail to the application object.
#include "framework/CommandLine.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The tail is taken from the full command line ourselves, so that it is exactly what the user
    // typed after the program name, quotes included.
    return AfxWinMain(instance, CommandLineTail(GetCommandLineA()));
}
