// The scripted WHOIS server and the two kinds of unfriendly ports.
#include "support/ScriptedWhoisServer.h"

#include <algorithm>
#include <chrono>

namespace {
SOCKET ListenOnLoopback(int backlog, std::uint16_t* port)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, backlog);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return listener;
}
}  // namespace

ScriptedWhoisServer::ScriptedWhoisServer(const char* questionEnd) : m_questionEnd(questionEnd)
{
    m_listener = ListenOnLoopback(SOMAXCONN, &m_port);
    m_scripts.push_back({});
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

ScriptedWhoisServer::~ScriptedWhoisServer()
{
    m_stopping = true;
    closesocket(m_listener);
    Release();
    {
        std::lock_guard<std::mutex> hold(m_lock);
        for (SOCKET s : m_open) shutdown(s, SD_BOTH);
    }
    m_acceptor.join();
    for (std::thread& worker : m_workers) worker.join();
}

void ScriptedWhoisServer::Play(std::vector<ServerScript> scripts)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_scripts = std::move(scripts);
    // New scripts hold their connections until the next Release().
    m_bReleased = false;
}

std::vector<std::string> ScriptedWhoisServer::Received() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_received;
}

int ScriptedWhoisServer::Connections() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return static_cast<int>(m_received.size());
}

bool ScriptedWhoisServer::ClientClosed(int index) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return index < static_cast<int>(m_clientClosed.size()) && m_clientClosed[static_cast<size_t>(index)];
}

void ScriptedWhoisServer::Release()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_bReleased = true;
    m_released.notify_all();
}

void ScriptedWhoisServer::AcceptLoop()
{
    for (;;) {
        SOCKET connection = accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) return;
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_stopping) {
            closesocket(connection);
            return;
        }
        int index = static_cast<int>(m_received.size());
        m_received.emplace_back();
        m_clientClosed.push_back(false);
        m_open.push_back(connection);
        m_workers.emplace_back([this, connection, index] { Serve(connection, index); });
    }
}

void ScriptedWhoisServer::Serve(SOCKET connection, int index)
{
    // Everything up to the end of the question is recorded.
    char buffer[4096];
    for (;;) {
        int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        std::lock_guard<std::mutex> hold(m_lock);
        m_received[static_cast<size_t>(index)].append(buffer, static_cast<size_t>(n));
        if (m_received[static_cast<size_t>(index)].find(m_questionEnd) != std::string::npos) break;
    }
    ServerScript script;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        script = m_scripts[std::min(static_cast<size_t>(index), m_scripts.size() - 1)];
    }
    for (const ServerStep& step : script) {
        if (step.kind == ServerStep::kSend) {
            size_t sent = 0;
            while (sent < step.data.size()) {
                int n = send(connection, step.data.data() + sent, static_cast<int>(std::min<size_t>(step.data.size() - sent, 1 << 16)), 0);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
            if (sent < step.data.size()) {
                // The client is gone before it took everything.
                std::lock_guard<std::mutex> hold(m_lock);
                m_clientClosed[static_cast<size_t>(index)] = true;
                break;
            }
        } else if (step.kind == ServerStep::kDelay) {
            std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
        } else if (step.kind == ServerStep::kHoldOpen) {
            // Watch for the client's close on a helper thread while waiting for Release().
            std::thread watcher([&] {
                char extra[512];
                int n;
                while ((n = recv(connection, extra, sizeof extra, 0)) > 0) {
                    std::lock_guard<std::mutex> hold(m_lock);
                    m_received[static_cast<size_t>(index)].append(extra, static_cast<size_t>(n));
                }
                std::lock_guard<std::mutex> hold(m_lock);
                m_clientClosed[static_cast<size_t>(index)] = true;
                m_released.notify_all();
            });
            {
                std::unique_lock<std::mutex> hold(m_lock);
                m_released.wait(hold, [&] { return m_bReleased || m_clientClosed[static_cast<size_t>(index)]; });
            }
            shutdown(connection, SD_BOTH);
            watcher.join();
        } else if (step.kind == ServerStep::kReset) {
            linger hard{1, 0};
            setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
            break;
        }
    }
    closesocket(connection);
    std::lock_guard<std::mutex> hold(m_lock);
    m_open.erase(std::remove(m_open.begin(), m_open.end(), connection), m_open.end());
}

std::string HttpAnswerBytes(int status, const std::string& body, const std::string& headers)
{
    return "HTTP/1.1 " + std::to_string(status) + " Scripted\r\nContent-Type: application/rdap+json\r\n" + headers +
           "Connection: close\r\n\r\n" + body;
}

std::uint16_t RefusingPort()
{
    std::uint16_t port = 0;
    SOCKET probe = ListenOnLoopback(1, &port);
    closesocket(probe);
    return port;
}

FullBacklogListener::FullBacklogListener()
{
    m_listener = ListenOnLoopback(1, &m_port);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_port);
    // Fill the queue with connections that are never accepted; the next connect then waits.
    for (int i = 0; i < 8; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_fillers.push_back(filler);
    }
}

FullBacklogListener::~FullBacklogListener()
{
    for (SOCKET filler : m_fillers) closesocket(filler);
    closesocket(m_listener);
}

RedirectedServers::RedirectedServers(int port, int first, int last)
{
    for (int i = 0; i < kServerAddMore; ++i) m_saved[i] = g_builtinServers[i];
    for (int i = first; i <= last; ++i) g_builtinServers[i] = {"127.0.0.1", port};
}

RedirectedServers::~RedirectedServers()
{
    for (int i = 0; i < kServerAddMore; ++i) g_builtinServers[i] = m_saved[i];
}
