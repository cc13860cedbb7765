// Runs every benchmark and prints one table: each figure is a ratio of two times measured in this
// run (best of several rounds), with its target.
#include <cstdio>

#include "framework/Afx.h"

void ReportReceive();
void ReportChain();
void ReportView();
void ReportHostile();
void ReportStart();
void ReportHistoryMemory();

int main()
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    LoadLibraryA("RICHED20.DLL");
    std::printf("%-58s %10s %8s\n", "benchmark", "figure", "target");
    ReportReceive();
    ReportChain();
    ReportStart();
    ReportHistoryMemory();
    ReportView();
    ReportHostile();
    WSACleanup();
    return 0;
}
