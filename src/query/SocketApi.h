// The small socket interface the WHOIS exchange runs over: Windows sockets in the program,
// scripted sockets in the tests.
#pragma once

#include <cstdint>

using SocketHandle = std::uintptr_t;
constexpr SocketHandle kNoSocket = ~SocketHandle(0);
// inet_addr's answer for a text that is no address (and for 255.255.255.255).
constexpr std::uint32_t kNoAddress = 0xFFFFFFFFu;

class ISocketApi {
public:
    virtual ~ISocketApi() = default;
    // inet_addr: the address in network byte order, or kNoAddress.
    virtual std::uint32_t ParseAddress(const char* text) = 0;
    // gethostbyname's first address, in network byte order; false when the name does not resolve.
    virtual bool Resolve(const char* host, std::uint32_t* address) = 0;
    // A TCP socket, or kNoSocket.
    virtual SocketHandle Open() = 0;
    virtual bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) = 0;
    virtual void Send(SocketHandle socket, const char* data, int length) = 0;
    // recv: the count of bytes received, 0 when the peer closed, negative on failure.
    virtual int Receive(SocketHandle socket, char* buffer, int length) = 0;
    virtual void Close(SocketHandle socket) = 0;
};
