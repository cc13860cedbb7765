// CWinThread: thread creation and the self-deleting end.
#include "framework/WinThread.h"

#include <process.h>

#include <atomic>

namespace {
std::atomic<int> g_nRunning{0};
}

int CWinThread::Running()
{
    return g_nRunning.load();
}

CWinThread::~CWinThread()
{
    if (m_hThread) CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    unsigned id = 0;
    // Always start suspended: the handle and ID must be stored before the thread can end and
    // delete this object; the caller's flags decide whether it is resumed here.
    m_hThread = reinterpret_cast<HANDLE>(
        _beginthreadex(security, stackSize, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED, &id));
    if (!m_hThread) return FALSE;
    ++g_nRunning;
    m_nThreadID = id;
    if (!(flags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* self)
{
    auto* thread = static_cast<CWinThread*>(self);
    UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    if (thread->m_bAutoDelete) delete thread;
    --g_nRunning;
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security)
{
    auto* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(flags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}
