// QuerySocket: close-once bookkeeping between Stop and the worker.
#include "query/QuerySocket.h"

QuerySocket::~QuerySocket()
{
    EndLimits();
}

void QuerySocket::EndLimits()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_ending = true;
    }
    m_limitChanged.notify_all();
    if (m_watchdog.joinable()) m_watchdog.join();
}

void QuerySocket::Attach(SocketHandle socket)
{
    std::unique_lock<std::mutex> hold(m_lock);
    m_socket = socket;
    // A stop that came before the pass had its socket closes it now, so the connect fails at once
    // instead of waiting for a server that may never answer.
    if (!m_active.load()) CloseHeld(hold);
}

void QuerySocket::Close()
{
    std::unique_lock<std::mutex> hold(m_lock);
    CloseHeld(hold);
}

void QuerySocket::CloseHeld(std::unique_lock<std::mutex>& hold)
{
    // The handle is taken under the lock, so only one caller closes it; the close itself runs
    // without the lock, so a slow close never holds up the other side.
    const SocketHandle socket = m_socket;
    m_socket = kNoSocket;
    hold.unlock();
    if (socket != kNoSocket) m_api.Close(socket);
    hold.lock();
}

void QuerySocket::Stop()
{
    m_active.store(false);
    Close();
}

void QuerySocket::Limit(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> hold(m_lock);
    m_limited = true;
    m_deadline = Clock::now() + limit;
    if (!m_watchdog.joinable()) m_watchdog = std::thread([this] { Watch(); });
    // A watchdog that sleeps past the new deadline is woken; one that wakes earlier looks again then,
    // so a limit set before every receive costs no wake-up of its own.
    const bool wake = m_deadline < m_watchdogWakes;
    hold.unlock();
    if (wake) m_limitChanged.notify_all();
}

void QuerySocket::Unlimit()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_limited = false;
}

void QuerySocket::Watch()
{
    std::unique_lock<std::mutex> hold(m_lock);
    while (!m_ending) {
        if (m_limited && Clock::now() >= m_deadline) {
            m_limited = false;
            CloseHeld(hold);
            continue;
        }
        m_watchdogWakes = m_limited ? m_deadline : Clock::time_point::max();
        if (m_limited)
            m_limitChanged.wait_until(hold, m_watchdogWakes);
        else
            m_limitChanged.wait(hold);
    }
}

void QuerySocket::MarkFinished()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_finished = true;
    m_finishedSignal.notify_all();
}

bool QuerySocket::WaitFinished(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> hold(m_lock);
    return m_finishedSignal.wait_for(hold, limit, [this] { return m_finished; });
}
