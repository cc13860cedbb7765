// QuerySocket: close-once bookkeeping between Stop and the worker.
#include "query/QuerySocket.h"

void QuerySocket::Attach(SocketHandle socket)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_socket = socket;
    // A stop that came before the pass had its socket closes it now, so the connect fails at once
    // instead of waiting for a server that may never answer.
    if (!m_active.load()) {
        m_api.Close(m_socket);
        m_socket = kNoSocket;
    }
}

void QuerySocket::Close()
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_socket != kNoSocket) m_api.Close(m_socket);
    m_socket = kNoSocket;
}

void QuerySocket::Stop()
{
    m_active.store(false);
    Close();
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
