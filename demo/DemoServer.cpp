// The sample WHOIS server for trying the program without a network: listens on 127.0.0.1 (port 4343
// unless given) with its own records, and on the ports after it as the servers the demo program
// reaches there (DemoRoles.h); reads one question line per connection, answers it and closes the
// connection, which is how a WHOIS answer ends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DemoAnswers.h"

namespace {
// A question longer than this is cut; a client that sends nothing is given up after a while.
const size_t kLongestQuestion = 1024;
const int kReadSeconds = 5;

std::string ReadQuestion(int connection)
{
    timeval limit{kReadSeconds, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string question;
    char byte;
    while (question.size() < kLongestQuestion && recv(connection, &byte, 1, 0) == 1 && byte != '\n')
        question += byte;
    return question;
}

// An HTTP request's path; the rest of the request is read too, so that closing the connection after
// the answer does not throw the answer away.
std::string ReadRequestPath(int connection)
{
    const std::string line = ReadQuestion(connection);
    for (std::string header = line; !header.empty() && header != "\r";) header = ReadQuestion(connection);
    const size_t start = line.find(' ') + 1;
    return line.substr(start, line.find(' ', start) - start);
}

void SendAll(int connection, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    const int base = argc > 1 ? std::atoi(argv[1]) : kDemoBasePort;
    pollfd listeners[kDemoRoles];
    for (int role = 0; role < kDemoRoles; ++role) {
        int listener = socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(base + role));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener, 8) != 0) {
            std::fprintf(stderr, "demo server: cannot listen on 127.0.0.1:%d: ", base + role);
            std::perror("");
            return 1;
        }
        listeners[role] = {listener, POLLIN, 0};
    }
    std::printf("Demo WHOIS server on 127.0.0.1:%d (and %d to %d as the servers it plays)\n", base, base + 1,
                base + kDemoRoles - 1);
    std::fflush(stdout);
    for (;;) {
        if (poll(listeners, kDemoRoles, -1) <= 0) continue;
        for (int role = 0; role < kDemoRoles; ++role) {
            if (!(listeners[role].revents & POLLIN)) continue;
            int connection = accept(listeners[role].fd, nullptr, nullptr);
            if (connection < 0) continue;
            SendAll(connection, role == kDemoRdap ? DemoRdapAnswer(ReadRequestPath(connection))
                                                  : DemoAnswer(static_cast<DemoRole>(role), ReadQuestion(connection)));
            close(connection);
        }
    }
}
