// "&Ask"/"&Stop" and the query's worker thread. The worker runs the exchange on copies and posts
// each status text and its result to the dialog's window; the dialog applies them in order.
#include <memory>
#include <new>

#include "app/WhoisDlg.h"
#include "framework/WinThread.h"
#include "query/InternationalName.h"
#include "query/QueryRun.h"
#include "query/WinsockApi.h"
#include "rdap/BootstrapFolder.h"
#include "rdap/WinHttpClient.h"
#include "res/resource.h"
#include "text/SystemText.h"
#include "text/Utf8.h"

namespace {
// What a worker owns: the window to report to, its job, and the socket and RDAP requests it shares
// with Stop.
struct QueryTask {
    HWND window;
    QueryJob job;
    std::shared_ptr<QuerySocket> socket;
    std::shared_ptr<CWinHttpClient> http;
};

// Posts a message whose lParam owns a heap object; the receiver frees it. When the window is gone
// the post fails and the object is freed here.
template <class T>
void PostOwned(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T> payload)
{
    if (PostMessageA(window, message, wParam, reinterpret_cast<LPARAM>(payload.get()))) payload.release();
}

class PostedReport : public IQueryReport {
public:
    explicit PostedReport(HWND window) : m_window(window) {}
    void Status(int stringId, const std::string& host) override
    {
        // Every chunk shows "Recieving data..."; one message stands for a run of them, so a
        // large answer does not flood the window's queue with identical texts.
        if (stringId == IDS_RECEIVING && m_lastId == IDS_RECEIVING) return;
        m_lastId = stringId;
        try {
            PostOwned(m_window, WM_QUERY_STATUS, static_cast<WPARAM>(stringId), std::make_unique<std::string>(host));
        } catch (const std::bad_alloc&) {
            // A text there is no memory to post is left out; the run goes on.
        }
    }

private:
    HWND m_window;
    int m_lastId = 0;
};

UINT QueryThreadProc(LPVOID param)
{
    std::unique_ptr<QueryTask> task(static_cast<QueryTask*>(param));
    PostedReport report(task->window);
    std::unique_ptr<QueryResult> result;
    try {
        result = std::make_unique<QueryResult>(
            RunQuery(task->job, CWinsockApi::Instance(), *task->socket, *task->http, ProgramBootstrap(), report));
    } catch (const std::bad_alloc&) {
        // Memory ran out before the run had a result: the window learns of it from a result of none.
        task->socket->Close();
    }
    // A large answer takes a noticeable time to decode: here, not on the window's thread. Without
    // the memory for it, the window tries again (and says so when it cannot either).
    try {
        if (result && result->gotAnswer)
            result->text = DecodedAnswerText(result->answer, AnswerHost(result->lastServer, task->job.customServers));
    } catch (const std::bad_alloc&) {
    }
    PostOwned(task->window, WM_QUERY_DONE, 0, std::move(result));
    task->socket->MarkFinished();
    return 0;
}

bool TextNamesHost(WPARAM stringId)
{
    switch (stringId) {
    case IDS_LOOKING_UP:
    case IDS_LOOKUP_FAILED:
    case IDS_CONNECTING:
    case IDS_CONNECT_FAILED:
    case IDS_RDAP_ASKING:
    case IDS_RDAP_NOT_FOUND:
    case IDS_RDAP_RATE_LIMITED:
    case IDS_RDAP_ERROR:
    case IDS_RDAP_MALFORMED:
    case IDS_RDAP_TIMED_OUT:
    case IDS_RDAP_FAILED:
    case IDS_RDAP_REGISTRAR_FAILED: return true;
    default: return false;
    }
}

CString LoadedString(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    return text;
}

CString StatusText(WPARAM stringId, const std::string& host)
{
    CString text = LoadedString(static_cast<UINT>(stringId));
    if (TextNamesHost(stringId)) {
        CString pattern = text;
        text.Format(pattern, host.c_str());
    }
    return text;
}

// The text of a run's end at a server that could not be asked, or of an RDAP run that brought no
// whole answer; 0 for any other end.
UINT FailureText(const QueryResult& result)
{
    switch (result.end) {
    case QueryEnd::LookupFailed: return IDS_LOOKUP_FAILED;
    case QueryEnd::NoSocket: return IDS_NETWORK_FAILED;
    case QueryEnd::ConnectFailed: return IDS_CONNECT_FAILED;
    case QueryEnd::RdapFailed: return static_cast<UINT>(result.rdapText);
    default: return 0;
    }
}
}  // namespace

void CWhoisDlg::OnAsk()
{
    if (m_bRunning) {
        // Stop: a blocked connect or receive fails at once; the caption stays "&Stop" until the
        // worker's result has been applied.
        m_bQueryActive = FALSE;
        if (m_hSocket) m_hSocket->Stop();
        if (m_pHttp) m_pHttp->Stop();
        return;
    }
    m_bRunning = TRUE;
    m_bQueryActive = TRUE;
    UpdateData(TRUE);
    m_bGotAnswer = FALSE;
    // A name that cannot go out in the form servers take is not asked at all.
    const WideText typed = Utf8ToWide(m_strQuestion.Str());
    const QuestionToSend sent = PrepareQuestion(typed, SystemNameToAscii);
    if (sent.form == QuestionToSend::NoAsciiForm) {
        EndRun();
        m_bFromLink = FALSE;
        CString text;
        text.Format(LoadedString(IDS_NO_ASCII_FORM), m_strQuestion.GetString());
        SetStatusLine(text);
        return;
    }
    const bool converted = sent.form == QuestionToSend::AsciiForm;
    m_strTypedName = m_strQuestion;
    m_strAsciiName = converted ? CString(sent.ascii) : CString();

    auto task = std::make_unique<QueryTask>();
    task->window = m_hWnd;
    task->job.question = converted ? sent.ascii : TypedQuestionBytes(typed, WideToAnsi);
    task->job.server = m_nServer;
    task->job.serverChoice = m_nServerChoice;
    task->job.fromLink = m_bFromLink != FALSE;
    task->job.lastServer = m_nLastServer;
    task->job.customServers = m_dlgServers.m_servers;
    // A custom host typed in another script is looked up in its ASCII form.
    for (ServerEntry& entry : task->job.customServers) {
        const QuestionToSend host = PrepareQuestion(Utf8ToWide(entry.host), SystemNameToAscii);
        if (host.form == QuestionToSend::AsciiForm) entry.host = host.ascii;
    }
    task->socket = m_hSocket = std::make_shared<QuerySocket>(CWinsockApi::Instance());
    task->http = m_pHttp = std::make_shared<CWinHttpClient>();

    CWinThread* thread = AfxBeginThread(&QueryThreadProc, task.get(), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread) {
        m_hSocket.reset();
        m_pHttp.reset();
        m_bRunning = m_bQueryActive = FALSE;
        SetStatusText(IDS_NETWORK_FAILED);
        return;
    }
    task.release();
    thread->ResumeThread();
    CString caption;
    caption.LoadString(IDS_STOP);
    m_btnAsk.SetWindowText(caption);
}

LRESULT CWhoisDlg::OnQueryStatus(WPARAM stringId, LPARAM host)
{
    std::unique_ptr<std::string> hostName(reinterpret_cast<std::string*>(host));
    CString text = StatusText(stringId, *hostName);
    if (!m_strAsciiName.IsEmpty() && stringId != IDS_COMPLETE) {
        const CString stage = text;
        text.Format(LoadedString(IDS_ASKED_AS), stage.GetString(), m_strTypedName.GetString(), m_strAsciiName.GetString());
    }
    // "Fatal error: nothing to ask for." and "Complete." are shown without being kept.
    if (stringId != IDS_NOTHING_TO_ASK && stringId != IDS_COMPLETE) m_strStatus = text;
    SetStatusLine(text);
    return 0;
}

LRESULT CWhoisDlg::OnQueryDone(WPARAM, LPARAM resultParam)
{
    std::unique_ptr<QueryResult> posted(reinterpret_cast<QueryResult*>(resultParam));
    // A worker that had no memory left for its result sent none.
    QueryResult none;
    none.end = QueryEnd::OutOfMemory;
    QueryResult& result = posted ? *posted : none;
    if (result.passStarted) m_nLastServer = result.lastServer;
    if (result.end != QueryEnd::EmptyQuestion) m_nServer = m_nServerChoice;
    m_bGotAnswer = result.gotAnswer;
    m_hSocket.reset();
    m_pHttp.reset();
    // The history keeps the question as the user typed it, an internationalised name included.
    result.question = m_strTypedName.Str();
    m_strTypedName.Empty();
    m_strAsciiName.Empty();
    if (m_bGotAnswer) {
        // Whatever arrived, complete or not, becomes a record with the question as it was asked. The
        // members keep what they had (shared, not copied) for when there is no memory for the
        // record: the history and the view then keep what they have.
        const CString answer = m_strAnswer, json = m_strJson, question = m_strQuestion;
        try {
            m_strAnswer = CString(std::move(result.answer));
            m_strJson = CString(std::move(result.json));
            m_strQuestion = CString(std::move(result.question));
            PushRecord(std::move(result.text));
        } catch (const std::bad_alloc&) {
            m_strAnswer = answer;
            m_strJson = json;
            m_strQuestion = question;
            EndRun();
            SetStatusText(IDS_ANSWER_NOT_KEPT);
            return 0;
        }
        // Showing a record says "Complete."; a cut answer, or one that a referred server failed to
        // complete, must not pass for a whole one: the status line keeps what ended the run.
        if (result.end == QueryEnd::Cut) SetStatusText(IDS_ANSWER_CUT);
        if (result.end == QueryEnd::OutOfMemory) SetStatusText(IDS_OUT_OF_MEMORY);
        if (const UINT failure = FailureText(result)) SetStatusLine(StatusText(failure, result.failedHost));
        return 0;
    }
    EndRun();
    // A worker whose memory ran out before it had a result: nothing of the answer can be kept.
    if (!posted) SetStatusText(IDS_ANSWER_NOT_KEPT);
    return 0;
}

void CWhoisDlg::EndRun()
{
    CString caption;
    caption.LoadString(IDS_ASK);
    m_btnAsk.SetWindowText(caption);
    m_bRunning = m_bQueryActive = FALSE;
    // A link clicked during the run is asked, if at all, as a new question of the user's.
    m_bFromLink = FALSE;
}

void CWhoisDlg::OnDestroy()
{
    // Closing while a query runs: stop it and give its worker a moment to end, so that the process
    // ends cleanly; whatever it posted is freed here, never applied to a dialog that is gone.
    if (m_pHttp) m_pHttp->Stop();
    if (m_hSocket) {
        m_hSocket->Stop();
        m_hSocket->WaitFinished(kWorkerEndWait);
        m_hSocket.reset();
    }
    MSG message;
    while (PeekMessageA(&message, m_hWnd, WM_QUERY_STATUS, WM_QUERY_DONE, PM_REMOVE)) {
        if (message.message == WM_QUERY_STATUS)
            delete reinterpret_cast<std::string*>(message.lParam);
        else
            delete reinterpret_cast<QueryResult*>(message.lParam);
    }
    Default();
}

void CWhoisDlg::SetStatusText(UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    m_stcStatus.SetWindowText(text);
}
