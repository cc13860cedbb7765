// CWinsockApi: the WHOIS exchange's socket calls on Windows sockets.
#include "query/WinsockApi.h"

#include <cstring>

#include "framework/Afx.h"

CWinsockApi& CWinsockApi::Instance()
{
    static CWinsockApi api;
    return api;
}

std::uint32_t CWinsockApi::ParseAddress(const char* text)
{
    return inet_addr(text);
}

bool CWinsockApi::Resolve(const char* host, std::uint32_t* address)
{
    const hostent* entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list[0]) return false;
    memcpy(address, entry->h_addr_list[0], 4);
    return true;
}

SocketHandle CWinsockApi::Open()
{
    SOCKET handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return handle == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(handle);
}

bool CWinsockApi::Connect(SocketHandle handle, std::uint32_t address, std::uint16_t port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = address;
    return connect(static_cast<SOCKET>(handle), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
}

void CWinsockApi::Send(SocketHandle handle, const char* data, int length)
{
    send(static_cast<SOCKET>(handle), data, length, 0);
}

int CWinsockApi::Receive(SocketHandle handle, char* buffer, int length)
{
    return recv(static_cast<SOCKET>(handle), buffer, length, 0);
}

void CWinsockApi::Close(SocketHandle handle)
{
    closesocket(static_cast<SOCKET>(handle));
}
