// The command-line tail: what the program takes as the question given at start.
#include <gtest/gtest.h>

#include "framework/CommandLine.h"

TEST(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt)
{
    struct Case {
        const char* commandLine;
        const char* tail;
    };
    const Case cases[] = {
        {"whois.exe example.com", "example.com"},
        {"whois.exe", ""},
        {"whois.exe    ", ""},
        {"whois.exe \t  example.com  ", "example.com  "},
        {"\"C:\\Program Files\\whois.exe\" 192.0.2.1", "192.0.2.1"},
        {"\"C:\\Program Files\\whois.exe\"", ""},
        {"\"unterminated name", ""},
        {"whois.exe \"quoted question\"", "\"quoted question\""},
        {"whois.exe a \"b c\" d", "a \"b c\" d"},
        {"C:\\whois.exe\tHELP", "HELP"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.tail, CommandLineTail(c.commandLine)) << c.commandLine;
    EXPECT_STREQ("", CommandLineTail(nullptr));
}
