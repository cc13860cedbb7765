// Scripted sockets for the query engine's native tests. Each connection the engine opens follows a
// script (whether the socket opens and connects, the chunks the server sends, how it ends), and
// every call is recorded in order, so that a test sees what a WHOIS server would have seen.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "query/SocketApi.h"

// What one connection does, in the order the engine opens them.
struct ScriptedConnection {
    bool openFails = false;
    bool connects = true;
    // What the server sends, one chunk per receive; a chunk may hold zero bytes but is never empty
    // (an empty receive means the server closed).
    std::vector<std::string> chunks;
    // What a receive gives once the chunks are used up: 0 when the server closes, -1 on failure.
    int end = 0;
    // Instead of `end`: the receive waits until the socket is closed, then fails, like a blocking
    // recv whose socket another thread closes.
    bool blockUntilClosed = false;
    // The connect waits until the socket is closed, then fails, like one to a server that never
    // accepts.
    bool connectBlocksUntilClosed = false;
    // Runs inside Connect, before it answers.
    std::function<void()> onConnect;
    // Runs inside Receive before it answers with chunk `index` (index == chunks.size(): the end).
    std::function<void(size_t index)> beforeChunk;
    // Runs inside Close, after the socket is closed.
    std::function<void()> onClose;
};

class ScriptedSockets : public ISocketApi {
public:
    // Set up before a run and left alone during it.
    std::map<std::string, std::uint32_t> addresses;  // texts the address parser takes
    std::map<std::string, std::uint32_t> names;      // names the resolver finds
    std::vector<ScriptedConnection> connections;

    static constexpr SocketHandle kFirstHandle = 0x100;
    // The handle of connection `index` (0 for the first one opened).
    static SocketHandle Handle(size_t index) { return kFirstHandle + index; }

    std::uint32_t ParseAddress(const char* text) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_lookups.push_back(std::string("parse ") + text);
        auto found = addresses.find(text);
        return found == addresses.end() ? kNoAddress : found->second;
    }

    bool Resolve(const char* host, std::uint32_t* address) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_lookups.push_back(std::string("resolve ") + host);
        auto found = names.find(host);
        if (found == names.end()) return false;
        *address = found->second;
        return true;
    }

    SocketHandle Open() override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        const size_t index = m_opened++;
        if (index >= connections.size()) {
            ADD_FAILURE() << "connection " << index + 1 << " was not expected";
            m_log.push_back("open (unexpected)");
            return kNoSocket;
        }
        if (connections[index].openFails) {
            m_log.push_back("open (fails)");
            return kNoSocket;
        }
        m_log.push_back("open " + Name(Handle(index)));
        return Handle(index);
    }

    bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) override
    {
        std::unique_lock<std::mutex> hold(m_lock);
        m_log.push_back("connect " + Name(socket) + " " + AddressName(address) + ":" + std::to_string(port));
        ScriptedConnection* connection = Script(socket);
        if (!connection) return false;
        if (connection->onConnect) {
            hold.unlock();
            connection->onConnect();
            hold.lock();
        }
        if (connection->connectBlocksUntilClosed) {
            WaitUntilClosed(hold, socket);
            return false;
        }
        return connection->connects;
    }

    void Send(SocketHandle socket, const char* data, int length) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        std::string bytes(data, static_cast<size_t>(length));
        m_log.push_back("send " + Name(socket) + " \"" + Escape(bytes) + "\"");
        m_sent[socket].push_back(bytes);
    }

    int Receive(SocketHandle socket, char* buffer, int length) override
    {
        std::unique_lock<std::mutex> hold(m_lock);
        m_log.push_back("receive " + Name(socket));
        ScriptedConnection* connection = Script(socket);
        if (!connection) return -1;
        const size_t index = m_received[socket]++;
        if (connection->beforeChunk) {
            hold.unlock();
            connection->beforeChunk(index);
            hold.lock();
        }
        if (index < connection->chunks.size()) {
            const std::string& chunk = connection->chunks[index];
            EXPECT_LE(chunk.size(), static_cast<size_t>(length)) << "the chunk does not fit the engine's buffer";
            const size_t count = std::min(chunk.size(), static_cast<size_t>(length));
            std::memcpy(buffer, chunk.data(), count);
            return static_cast<int>(count);
        }
        if (connection->blockUntilClosed) {
            m_blocked = true;
            m_changed.notify_all();
            WaitUntilClosed(hold, socket);
            return -1;
        }
        return connection->end;
    }

    void Close(SocketHandle socket) override
    {
        std::unique_lock<std::mutex> hold(m_lock);
        m_log.push_back("close " + Name(socket));
        m_closed.insert(socket);
        m_changed.notify_all();
        // Closing a socket the scripts never opened is the close-once tests' own business.
        const size_t index = socket - kFirstHandle;
        if (socket >= kFirstHandle && index < m_opened && index < connections.size() && connections[index].onClose) {
            hold.unlock();
            connections[index].onClose();
        }
    }

    // The socket calls in order: "open #1", "connect #1 whois.arin.net:43", "send #1 \"a\\n\"",
    // "receive #1", "close #1"; addresses are named by the table they came from.
    std::vector<std::string> Log() const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_log;
    }
    // The parse and resolve calls in order: "parse 192.0.2.1", "resolve whois.arin.net".
    std::vector<std::string> Lookups() const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_lookups;
    }
    // The bytes of each Send call on `socket`.
    std::vector<std::string> Sent(SocketHandle socket) const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        auto found = m_sent.find(socket);
        return found == m_sent.end() ? std::vector<std::string>() : found->second;
    }
    // How many log lines are exactly `line`.
    int Count(const std::string& line) const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        int count = 0;
        for (const std::string& entry : m_log) count += entry == line;
        return count;
    }
    // How many log lines start with `prefix`.
    int CountStarting(const std::string& prefix) const
    {
        std::lock_guard<std::mutex> hold(m_lock);
        int count = 0;
        for (const std::string& entry : m_log) count += entry.compare(0, prefix.size(), prefix) == 0;
        return count;
    }

    // Waits until a receive blocks (blockUntilClosed); false when none did within `limit`. The
    // limit only keeps a broken run from hanging the tests.
    bool WaitUntilBlocked(std::chrono::milliseconds limit)
    {
        std::unique_lock<std::mutex> hold(m_lock);
        return m_changed.wait_for(hold, limit, [this] { return m_blocked; });
    }
    // Ends any blocked receive, so that a failing test can still join its worker.
    void ReleaseBlocked()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_released = true;
        m_changed.notify_all();
    }

    static std::string Name(SocketHandle socket)
    {
        if (socket == kNoSocket) return "#none";
        if (socket < kFirstHandle) return "#bad";
        return "#" + std::to_string(socket - kFirstHandle + 1);
    }

    static std::string Escape(const std::string& bytes)
    {
        std::string text;
        for (char c : bytes) {
            if (c == '\n') {
                text += "\\n";
            } else if (c == '\0') {
                text += "\\0";
            } else if (c == '"' || c == '\\') {
                text += '\\';
                text += c;
            } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
                text += hex;
            } else {
                text += c;
            }
        }
        return text;
    }

private:
    // The limit only keeps a run that never closes the socket from hanging the tests.
    void WaitUntilClosed(std::unique_lock<std::mutex>& hold, SocketHandle socket)
    {
        if (!m_changed.wait_for(hold, std::chrono::seconds(10), [&] { return m_closed.count(socket) > 0 || m_released; }))
            ADD_FAILURE() << "socket " << Name(socket) << " was never closed";
    }

    ScriptedConnection* Script(SocketHandle socket)
    {
        if (socket == kNoSocket || socket < kFirstHandle || socket - kFirstHandle >= m_opened ||
            socket - kFirstHandle >= connections.size()) {
            ADD_FAILURE() << "a call on socket " << Name(socket) << ", which was never opened";
            return nullptr;
        }
        return &connections[socket - kFirstHandle];
    }

    std::string AddressName(std::uint32_t address) const
    {
        for (const auto& entry : addresses)
            if (entry.second == address) return entry.first;
        for (const auto& entry : names)
            if (entry.second == address) return entry.first;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", address);
        return hex;
    }

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_opened = 0;
    std::vector<std::string> m_log;
    std::vector<std::string> m_lookups;
    std::map<SocketHandle, std::vector<std::string>> m_sent;
    std::map<SocketHandle, size_t> m_received;
    std::set<SocketHandle> m_closed;
    bool m_blocked = false;
    bool m_released = false;
};
