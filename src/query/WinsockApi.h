// The socket interface over Windows sockets 1.1: blocking calls, no time-outs.
#pragma once

#include "query/SocketApi.h"

class CWinsockApi : public ISocketApi {
public:
    static CWinsockApi& Instance();

    std::uint32_t ParseAddress(const char* text) override;
    bool Resolve(const char* host, std::uint32_t* address) override;
    SocketHandle Open() override;
    bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) override;
    void Send(SocketHandle socket, const char* data, int length) override;
    int Receive(SocketHandle socket, char* buffer, int length) override;
    void Close(SocketHandle socket) override;
};
