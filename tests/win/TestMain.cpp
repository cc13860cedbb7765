// Entry of the Windows tests: the platform set-up the program's own start-up would have made.
#include <gtest/gtest.h>

#include "framework/WinApp.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!AfxSocketInit()) return 2;
    LoadLibraryA("RICHED20.DLL");
    int result = RUN_ALL_TESTS();
    AfxSocketTerm();
    return result;
}
