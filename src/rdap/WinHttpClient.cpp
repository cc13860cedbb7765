// CWinHttpClient: WinHTTP in asynchronous mode. A blocked synchronous call does not end when
// another thread closes its handle (Wine keeps waiting), so the worker waits instead for either a
// completion or Stop, and a stopped request's handles are closed behind it. WinHTTP is loaded the
// first time RDAP is used, so it costs nothing at start-up.
#include "rdap/WinHttpClient.h"

#include <winhttp.h>

#include <atomic>
#include <string>

#include "framework/LateBound.h"
#include "query/WhoisQuery.h"
#include "rdap/RdapQuery.h"

HttpLimits g_httpLimits;

namespace {
struct WinHttpApi {
    decltype(&WinHttpOpen) open = LateBound<decltype(&WinHttpOpen)>("winhttp.dll", "WinHttpOpen");
    decltype(&WinHttpCrackUrl) crackUrl = LateBound<decltype(&WinHttpCrackUrl)>("winhttp.dll", "WinHttpCrackUrl");
    decltype(&WinHttpConnect) connect = LateBound<decltype(&WinHttpConnect)>("winhttp.dll", "WinHttpConnect");
    decltype(&WinHttpOpenRequest) openRequest = LateBound<decltype(&WinHttpOpenRequest)>("winhttp.dll", "WinHttpOpenRequest");
    decltype(&WinHttpSetOption) setOption = LateBound<decltype(&WinHttpSetOption)>("winhttp.dll", "WinHttpSetOption");
    decltype(&WinHttpSetTimeouts) setTimeouts = LateBound<decltype(&WinHttpSetTimeouts)>("winhttp.dll", "WinHttpSetTimeouts");
    decltype(&WinHttpSetStatusCallback) setCallback =
        LateBound<decltype(&WinHttpSetStatusCallback)>("winhttp.dll", "WinHttpSetStatusCallback");
    decltype(&WinHttpSendRequest) send = LateBound<decltype(&WinHttpSendRequest)>("winhttp.dll", "WinHttpSendRequest");
    decltype(&WinHttpReceiveResponse) receive =
        LateBound<decltype(&WinHttpReceiveResponse)>("winhttp.dll", "WinHttpReceiveResponse");
    decltype(&WinHttpQueryHeaders) queryHeaders = LateBound<decltype(&WinHttpQueryHeaders)>("winhttp.dll", "WinHttpQueryHeaders");
    decltype(&WinHttpQueryDataAvailable) queryData =
        LateBound<decltype(&WinHttpQueryDataAvailable)>("winhttp.dll", "WinHttpQueryDataAvailable");
    decltype(&WinHttpReadData) read = LateBound<decltype(&WinHttpReadData)>("winhttp.dll", "WinHttpReadData");
    decltype(&WinHttpCloseHandle) close = LateBound<decltype(&WinHttpCloseHandle)>("winhttp.dll", "WinHttpCloseHandle");
    decltype(&WinHttpGetIEProxyConfigForCurrentUser) ieProxy =
        LateBound<decltype(&WinHttpGetIEProxyConfigForCurrentUser)>("winhttp.dll", "WinHttpGetIEProxyConfigForCurrentUser");

    bool Loaded() const
    {
        return open && crackUrl && connect && openRequest && setOption && setTimeouts && setCallback && send && receive &&
               queryHeaders && queryData && read && close;
    }
};

const WinHttpApi& Api()
{
    static const WinHttpApi api;
    return api;
}

constexpr DWORD kReadSize = 16384;

// What one request shares with WinHTTP's callbacks. WinHTTP holds a reference until it reports the
// request handle closing (its last word on the handle); the worker holds the other.
struct Exchange {
    std::atomic<int> references{2};
    HANDLE signal = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // a completion or an error came
    std::atomic<DWORD> completed{0};
    std::atomic<DWORD> error{0};
    std::atomic<DWORD> bytes{0};
    char buffer[kReadSize];

    ~Exchange() { CloseHandle(signal); }
    void Release()
    {
        if (--references == 0) delete this;
    }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length)
{
    auto* exchange = reinterpret_cast<Exchange*>(context);
    if (!exchange) return;  // the session's and the connection's own notices
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        exchange->Release();
        return;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        exchange->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        exchange->bytes = *static_cast<DWORD*>(information);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        exchange->bytes = length;
        break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        break;
    default:
        return;
    }
    exchange->completed = status;
    SetEvent(exchange->signal);
}

HttpEnd EndOfError(DWORD error)
{
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return HttpEnd::LookupFailed;
    case ERROR_WINHTTP_CANNOT_CONNECT: return HttpEnd::ConnectFailed;
    case ERROR_WINHTTP_TIMEOUT: return HttpEnd::TimedOut;
    default: return HttpEnd::Failed;
    }
}

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The user's proxy settings: found by the system itself since Windows 8.1; before it, the proxy
// named in the user's Internet settings.
HINTERNET OpenSession()
{
    const WinHttpApi& api = Api();
    const wchar_t agent[] = L"Tarquelin whois";
    HINTERNET session = api.open(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                 WINHTTP_FLAG_ASYNC);
    if (session) return session;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings{};
    if (api.ieProxy && api.ieProxy(&settings)) {
        if (settings.lpszProxy)
            session = api.open(agent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, settings.lpszProxy,
                               settings.lpszProxyBypass ? settings.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
        for (LPWSTR text : {settings.lpszAutoConfigUrl, settings.lpszProxy, settings.lpszProxyBypass})
            if (text) GlobalFree(text);
    }
    if (!session)
        session = api.open(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    return session;
}

// TLS 1.2 and 1.3 where the system takes both, else 1.2 alone; a system that knows neither keeps
// its own choice.
void AllowModernTls(HINTERNET session)
{
    for (DWORD protocols : {DWORD(WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3),
                            DWORD(WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2)})
        if (Api().setOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) return;
}

// The handles of one request, closed in reverse order of opening.
struct Handles {
    HINTERNET session = nullptr, connection = nullptr, request = nullptr;
    ~Handles()
    {
        for (HINTERNET handle : {request, connection, session})
            if (handle) Api().close(handle);
    }
};
}  // namespace

CWinHttpClient::CWinHttpClient() : m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CWinHttpClient::~CWinHttpClient()
{
    CloseHandle(m_stop);
}

void CWinHttpClient::Stop()
{
    SetEvent(m_stop);
}

HttpAnswer CWinHttpClient::Get(const std::string& url, IHttpProgress& progress)
{
    HttpAnswer answer;
    const WinHttpApi& api = Api();
    if (WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0) {
        answer.end = HttpEnd::Stopped;
        return answer;
    }
    if (!api.Loaded()) return answer;

    std::wstring wideUrl = Wide(RoutedUrl(url));
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!api.crackUrl(wideUrl.c_str(), 0, 0, &parts) || !parts.lpszHostName) return answer;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    Handles handles;
    handles.session = OpenSession();
    if (!handles.session) return answer;
    AllowModernTls(handles.session);
    const int connectMs = static_cast<int>(g_httpLimits.connect.count());
    const int idleMs = static_cast<int>(g_httpLimits.idle.count());
    api.setTimeouts(handles.session, connectMs, connectMs, idleMs, idleMs);
    api.setCallback(handles.session, OnStatus, WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
    handles.connection = api.connect(handles.session, host.c_str(), parts.nPort, 0);
    if (!handles.connection) return answer;
    handles.request = api.openRequest(handles.connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES,
                                      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (!handles.request) return answer;
    auto* exchange = new Exchange;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(exchange);
    if (!api.setOption(handles.request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context)) {
        exchange->Release();  // WinHTTP will never report it: both references go
        exchange->Release();
        return answer;
    }
    // From here the worker's reference is given back whatever happens.
    struct Hold {
        Exchange* exchange;
        ~Hold() { exchange->Release(); }
    } hold{exchange};

    // Waits for the completion `expected`; any other end (an error, Stop, the time running out)
    // is written into the answer.
    auto await = [&](DWORD expected, int limitMs) {
        HANDLE waits[] = {exchange->signal, m_stop};
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, static_cast<DWORD>(limitMs) + 1000);
        if (woken == WAIT_OBJECT_0 + 1) answer.end = HttpEnd::Stopped;
        else if (woken != WAIT_OBJECT_0) answer.end = HttpEnd::TimedOut;
        else if (exchange->completed != expected) answer.end = EndOfError(exchange->error);
        else return true;
        return false;
    };
    auto failed = [&](BOOL started) {
        if (started) return false;
        answer.end = EndOfError(GetLastError());
        return true;
    };

    progress.Connecting(std::string(HostOfUrl(url)));
    if (failed(api.send(handles.request, L"Accept: application/rdap+json\r\n", static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA,
                        0, 0, 0)) ||
        !await(WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE, connectMs))
        return answer;
    progress.Waiting();
    if (failed(api.receive(handles.request, nullptr)) || !await(WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE, idleMs))
        return answer;
    DWORD status = 0, size = sizeof status;
    api.queryHeaders(handles.request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                     &status, &size, WINHTTP_NO_HEADER_INDEX);
    answer.status = static_cast<int>(status);
    // Only what has arrived is read: Wine's read of a larger count waits for it to fill, whatever
    // the asynchronous mode promises.
    for (;;) {
        if (failed(api.queryData(handles.request, nullptr)) || !await(WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE, idleMs))
            return answer;
        const DWORD ready = exchange->bytes < kReadSize ? exchange->bytes.load() : kReadSize;
        if (ready == 0) break;
        if (failed(api.read(handles.request, exchange->buffer, ready, nullptr)) ||
            !await(WINHTTP_CALLBACK_STATUS_READ_COMPLETE, idleMs))
            return answer;
        const DWORD bytes = exchange->bytes;
        if (bytes == 0) break;
        answer.body.append(exchange->buffer, bytes);
        progress.Receiving();
        if (answer.body.size() > kMaxAnswerBytes) {
            answer.body.resize(kMaxAnswerBytes);
            answer.end = HttpEnd::Cut;
            return answer;
        }
    }
    answer.end = HttpEnd::Complete;
    return answer;
}
