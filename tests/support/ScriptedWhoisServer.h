// A scripted WHOIS server on 127.0.0.1 (ephemeral port) for tests under Wine. Each connection
// reads the question line, records the bytes, then plays the next script: chunks with delays,
// zero bytes, answers of any size, close, reset, or holding the connection open until the client
// closes it or the test releases it. As a plain-HTTP server, the question is a request, which ends
// with a blank line.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Afx.h"
#include "query/ServerDirectory.h"

struct ServerStep {
    enum Kind { kSend, kDelay, kHoldOpen, kReset } kind;
    std::string data;   // kSend
    int milliseconds;   // kDelay

    static ServerStep Send(std::string bytes) { return {kSend, std::move(bytes), 0}; }
    static ServerStep Delay(int ms) { return {kDelay, "", ms}; }
    // Keeps the connection open until the client closes it or Release() is called.
    static ServerStep HoldOpen() { return {kHoldOpen, "", 0}; }
    // Ends the connection with a reset instead of an orderly close.
    static ServerStep Reset() { return {kReset, "", 0}; }
};
using ServerScript = std::vector<ServerStep>;

class ScriptedWhoisServer {
public:
    // `questionEnd` ends what a connection asks: a line feed for WHOIS, "\r\n\r\n" for HTTP.
    explicit ScriptedWhoisServer(const char* questionEnd = "\n");
    ~ScriptedWhoisServer();
    ScriptedWhoisServer(const ScriptedWhoisServer&) = delete;
    ScriptedWhoisServer& operator=(const ScriptedWhoisServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Scripts for the coming connections, in order of arrival; the last one serves any further.
    // Connections that these scripts hold open wait for the next Release().
    void Play(std::vector<ServerScript> scripts);
    // Bytes received on each connection so far, in order of arrival.
    std::vector<std::string> Received() const;
    int Connections() const;
    // Whether the client closed connection `index` while the server held it open.
    bool ClientClosed(int index) const;
    // Ends every held connection with an orderly close.
    void Release();

private:
    void AcceptLoop();
    void Serve(SOCKET connection, int index);

    const std::string m_questionEnd;
    SOCKET m_listener = INVALID_SOCKET;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_lock;
    std::condition_variable m_released;
    bool m_bReleased = false;
    std::vector<ServerScript> m_scripts;
    std::vector<std::string> m_received;
    std::vector<bool> m_clientClosed;
    std::vector<SOCKET> m_open;
    std::thread m_acceptor;
    std::vector<std::thread> m_workers;
};

// An HTTP/1.1 answer that ends when the server closes: the status line, the RDAP content type,
// `headers` (each ending in "\r\n") and the body.
std::string HttpAnswerBytes(int status, const std::string& body, const std::string& headers = "");

// A TCP port on 127.0.0.1 where nothing listens: connections to it are refused.
std::uint16_t RefusingPort();

// A listener whose backlog is full and that never accepts: a connect to it never completes.
class FullBacklogListener {
public:
    FullBacklogListener();
    ~FullBacklogListener();
    std::uint16_t Port() const { return m_port; }

private:
    SOCKET m_listener = INVALID_SOCKET;
    std::vector<SOCKET> m_fillers;
    std::uint16_t m_port = 0;
};

// Points the built-in registries `first` to `last` (all four unless told) at 127.0.0.1:`port` while it
// lives; when it ends every built-in address is back as it was, whatever the test changed meanwhile.
class RedirectedServers {
public:
    explicit RedirectedServers(int port, int first = kServerArin, int last = kServerInterNic);
    ~RedirectedServers();
    RedirectedServers(const RedirectedServers&) = delete;
    RedirectedServers& operator=(const RedirectedServers&) = delete;

private:
    ServerAddress m_saved[kServerAddMore];
};
