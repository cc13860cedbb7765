// Reads the running program's window from outside, for headless runs: waits for the window, can
// choose a server and ask a question the way a user would, waits until the query has ended and
// its answer is all in the view, prints the status line and the answer, and can close the window
// with its close box.
//
//   whois_window_reader [--server LABEL] [--ask QUESTION] [--timeout SECONDS] [--output FILE] [--close]
//
// Exit status: 0 when the query completed, 1 when it ended otherwise, 2 when no window or no end
// came in time. With --output the report goes to FILE instead, whole or not at all (a reader
// started inside a Wine desktop has no terminal to print to).
#include "framework/RichEditCtrl.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "res/resource.h"

namespace {
const char kTitle[] = "Tarquelin whois";

// A window's text in UTF-8, the terminal's own: the answer may be in any script.
std::string TextOf(HWND window)
{
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    const int wide = static_cast<int>(copied > 0 ? copied : 0);
    std::string bytes(static_cast<size_t>(wide) * 3, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// Polls every 100 ms until done() or the time is up.
template <class Done>
bool WaitFor(Done done, DWORD seconds)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > seconds * 1000) return false;
        Sleep(100);
    }
    return true;
}

bool ChooseServer(HWND dialog, const std::string& label)
{
    HWND combo = GetDlgItem(dialog, IDC_SERVER);
    const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label.c_str()));
    if (index == CB_ERR) return false;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

// Line ends as the terminal expects them.
std::string Unix(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}
}  // namespace

// Prints the report, or puts it into `path` in one step.
int Report(const std::string& path, const std::string& text, int status)
{
    if (path.empty()) {
        std::fputs(text.c_str(), status == 2 ? stderr : stdout);
        return status;
    }
    const std::string partial = path + ".partial";
    if (FILE* file = std::fopen(partial.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    return status;
}

int main(int argc, char** argv)
{
    std::string server, output;
    std::wstring question;
    // The question is taken from the wide command line, so that it may be any script.
    int wideCount = 0;
    LPWSTR* wideArgs = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    bool ask = false, close = false;
    DWORD timeout = 60;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--server") && i + 1 < argc) server = argv[++i];
        else if (!strcmp(argv[i], "--ask") && i + 1 < argc) question = ++i < wideCount ? wideArgs[i] : L"", ask = true;
        else if (!strcmp(argv[i], "--timeout") && i + 1 < argc) timeout = static_cast<DWORD>(std::atoi(argv[++i]));
        else if (!strcmp(argv[i], "--output") && i + 1 < argc) output = argv[++i];
        else if (!strcmp(argv[i], "--close")) close = true;
        else return Report("", "usage: whois_window_reader [--server LABEL] [--ask QUESTION] [--timeout SECONDS] [--output FILE] [--close]\n", 2);
    }
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindWindowA(nullptr, kTitle)) != nullptr; }, timeout))
        return Report(output, std::string("No \"") + kTitle + "\" window appeared.\n", 2);
    if (close) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return WaitFor([&] { return !IsWindow(dialog); }, timeout) ? 0 : 2;
    }

    HWND status = GetDlgItem(dialog, IDC_STATUS);
    HWND askButton = GetDlgItem(dialog, IDOK);
    if (!server.empty() && !ChooseServer(dialog, server))
        return Report(output, "The server list has no entry \"" + server + "\".\n", 2);
    const std::string before = TextOf(status);
    if (ask) {
        SendMessageW(GetDlgItem(dialog, IDC_QUESTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(question.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(askButton));
    }
    // The query has ended when the button reads "&Ask" again and the status line has moved on;
    // its answer is all in when the view (a fresh control for each answer) no longer fills.
    bool stopSeen = false;
    const bool ended = WaitFor([&] {
        if (!IsWindow(dialog)) return true;
        if (TextOf(askButton) == "&Stop") stopSeen = true;
        const std::string now = TextOf(status);
        return TextOf(askButton) == "&Ask" && now != "Idle" && (stopSeen || now != before || !ask) &&
               !GetPropA(GetDlgItem(dialog, IDC_ANSWER), CRichEditCtrl::kFillingProperty);
    }, timeout);
    if (!ended || !IsWindow(dialog))
        return Report(output, "The query did not end within " + std::to_string(timeout) + " seconds.\n", 2);
    const std::string finalStatus = TextOf(status);
    return Report(output, "Status: " + finalStatus + "\n\n" + Unix(TextOf(GetDlgItem(dialog, IDC_ANSWER))),
                  finalStatus == "Complete." ? 0 : 1);
}
