// QuerySocket: the running query's socket and stop flag, shared by the worker and the window.
//
// The window stops a query by clearing the flag and closing the socket; a blocked connect or
// receive then fails at once. A time limit on a blocking call closes the socket the same way,
// without stopping the query. Whichever comes first closes the socket, and it is closed exactly
// once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "query/SocketApi.h"

class QuerySocket {
public:
    explicit QuerySocket(ISocketApi& api) : m_api(api) {}
    ~QuerySocket();
    QuerySocket(const QuerySocket&) = delete;
    QuerySocket& operator=(const QuerySocket&) = delete;

    // Worker: the socket of the pass now running; closed at once when the query is already stopped.
    void Attach(SocketHandle socket);
    // Worker: closes the pass's socket unless a stop already did.
    void Close();
    // Window: clears the flag and closes the socket if one is open. Repeating it is harmless.
    void Stop();
    // False once the query has been stopped.
    bool Active() const { return m_active.load(); }
    // Worker: closes the socket if the blocking call that follows has not returned within `limit`;
    // Unlimit() says it has.
    void Limit(std::chrono::milliseconds limit);
    void Unlimit();
    // Worker: no limit follows; the watchdog thread ends here rather than wherever the last owner
    // lets go (the window's thread must not wait for it).
    void EndLimits();
    // Worker: its last step; nothing of the query is touched after it.
    void MarkFinished();
    // Window: waits at most `limit` for the worker's last step; true when it came.
    bool WaitFinished(std::chrono::milliseconds limit);

private:
    using Clock = std::chrono::steady_clock;
    // Closes the socket unless another caller has; `hold` holds m_lock before and after.
    void CloseHeld(std::unique_lock<std::mutex>& hold);
    // The watchdog thread behind Limit, started by its first use.
    void Watch();

    ISocketApi& m_api;
    std::atomic<bool> m_active{true};
    std::mutex m_lock;
    SocketHandle m_socket = kNoSocket;
    bool m_finished = false;
    std::condition_variable m_finishedSignal;
    bool m_limited = false;
    Clock::time_point m_deadline;
    Clock::time_point m_watchdogWakes = Clock::time_point::max();
    bool m_ending = false;
    std::condition_variable m_limitChanged;
    std::thread m_watchdog;
};
