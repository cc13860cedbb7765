// The program as ./run.sh --demo runs it: the same program, with the registries and the hosts they
// refer to reached on the sample server's ports instead, the way the tests point them at scripted
// servers, so that "Automatic" and its referrals can be tried without a network.
#include <string>

#include "DemoRoles.h"
#include "framework/CommandLine.h"
#include "framework/WinApp.h"
#include "query/ServerDirectory.h"
#include "text/Utf8.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    for (const DemoHost& host : kDemoHosts) g_hostRoutes[host.host] = {"127.0.0.1", kDemoBasePort + host.role};
    static const std::string commandLine = WideToUtf8(GetCommandLineW());
    return AfxWinMain(instance, CommandLineTail(commandLine.c_str()));
}
