// The automatic choice with the platform's own address parser: every form it takes as an IPv4
// address goes to ARIN, everything else to the domain-name registry.
#include <gtest/gtest.h>

#include "query/ServerDirectory.h"
#include "query/WinsockApi.h"

TEST(AutomaticChoice, AddressesGoToArinAndEverythingElseToTheDomainRegistry)
{
    struct Case {
        const char* question;
        int server;
    };
    const Case cases[] = {
        {"192.0.2.1", kServerArin},
        {"198.51.100.255", kServerArin},
        {"0.0.0.0", kServerArin},
        {"010.0.0.1", kServerArin},   // octal: 8.0.0.1
        {"0x7f.1", kServerArin},      // hexadecimal, two parts
        {"0xC0.0x00.0x02.0x01", kServerArin},
        {"192.0.2", kServerArin},     // three parts
        {"192.2", kServerArin},       // two parts
        {"1", kServerArin},           // one part: a 32-bit number
        {"3221225985", kServerArin},  // 192.0.2.1 as one number
        {"192.0.2.1 ", kServerArin},  // a trailing blank is accepted
        {"255.255.255.255", kServerInterNic},  // parses to the "no address" value
        {"192.0.2.0/24", kServerInterNic},
        {" 192.0.2.1", kServerInterNic},
        {"192.0.2.256", kServerInterNic},
        {"1.2.3.4.5", kServerInterNic},
        {"example.com", kServerInterNic},
        {"EXREG-1", kServerInterNic},
        {"HELP", kServerInterNic},
        {"   ", kServerInterNic},
        {"2001:db8::1", kServerInterNic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.server, AutomaticServer(c.question, CWinsockApi::Instance())) << '"' << c.question << '"';
}
