// Helpers for driving real windows from a test on the user-interface thread: pumping messages until
// a condition holds (never a bare sleep for correctness), reading controls, recording the texts
// that windows are given, and acting in modal dialogs and message boxes from a thread timer.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "framework/Afx.h"

// Dispatches this thread's messages (with dialog keyboard handling for `dialog`, if given) until
// done() is true or `limitMs` has passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000, HWND dialog = nullptr);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(int ms, HWND dialog = nullptr);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// The first window on screen of this thread captioned `title`, or null.
HWND ShownWindow(const std::string& title);
std::string ItemText(HWND dialog, int id);
// A window's text of any script, in UTF-8.
std::string Utf8WindowText(HWND window);
// The characters a rich edit control holds, one for each of its positions, read as UTF-16.
std::wstring RichEditWideText(HWND control);
// The same in UTF-8, each line end (one character in the control) as a line feed.
std::string RichEditText(HWND control);

// Records every text set on or typed into the watched windows of this thread (WM_SETTEXT, in
// UTF-8, and EM_REPLACESEL), in order.
class TextLog {
public:
    TextLog();
    ~TextLog();
    TextLog(const TextLog&) = delete;
    TextLog& operator=(const TextLog&) = delete;

    void Watch(HWND window) { m_texts[window]; }
    // Every window's texts, kept under null.
    void WatchAll() { m_texts[nullptr]; }
    const std::vector<std::string>& Texts(HWND window) { return m_texts[window]; }
    void Clear() { for (auto& entry : m_texts) entry.second.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
    std::map<HWND, std::vector<std::string>> m_texts;
};

// Runs an action once on the first window captioned `title` that shows on this thread. It looks
// from a thread timer, which fires inside modal loops too, so a test can act in a modal dialog.
class WhenShown {
public:
    WhenShown(std::string title, std::function<void(HWND)> action);
    ~WhenShown();
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

    bool Ran() const { return m_bRan; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::string m_title;
    std::function<void(HWND)> m_action;
    UINT_PTR m_timer;
    bool m_bRan = false;
};

// Calls `run`, which returns once the modal loops it opens have ended, while a thread timer (which
// fires inside modal loops too) works through `steps`, calling each until it returns true. Once
// `limitMs` has passed, `stuck` is called on every tick instead, to close what is still open: a
// window that does not close fails the test instead of hanging it.
struct StepsRun {
    size_t done;    // steps that returned true
    bool timedOut;
};
StepsRun RunWithSteps(const std::function<void()>& run, const std::vector<std::function<bool()>>& steps,
                      const std::function<void()>& stuck, int limitMs = 10000);

// Answers the modal windows that open on this thread (the Save As dialog and message boxes) from a
// thread timer, which fires inside their modal loops. Whatever it finds is recorded; a window it
// does not expect is closed so that a wrong box fails the test instead of hanging it.
class ModalWatcher {
public:
    struct Box {
        std::string title;
        std::string text;
        bool ownedByFileDialog;
    };
    struct FileDialog {
        std::string title;
        std::string proposedName;
        std::vector<std::string> filters;
    };

    // `mainDialog` is never touched. The Save As dialog gets `typedName` (unless empty) in its name
    // field and is then ended with `fileDialogButton`. A box owned by the Save As dialog (the
    // overwrite question) is answered `overwriteAnswer`; after a "No" the Save As dialog is
    // cancelled. Any other box is closed with OK.
    ModalWatcher(HWND mainDialog, std::string typedName, int fileDialogButton = IDOK, int overwriteAnswer = IDYES);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    // Leaves this window alone too (a dialog of the program that opened the one to answer).
    void Ignore(HWND window) { m_ignored.push_back(window); }

    const std::vector<FileDialog>& FileDialogs() const { return m_fileDialogs; }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    // Whether a window stayed open after its answer and had to be cancelled.
    bool ForcedClose() const { return m_forcedClose; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    void Handle(HWND window);

    HWND m_mainDialog;
    std::vector<HWND> m_ignored;
    std::string m_typedName;
    int m_fileDialogButton;
    int m_overwriteAnswer;
    // A Save As dialog to cancel once the box answered "No" has gone.
    HWND m_cancelOnceClosed = nullptr;
    HWND m_answeredBox = nullptr;
    UINT_PTR m_timer;
    struct Handled {
        HWND window;
        DWORD since;
        bool forced;
    };
    std::vector<Handled> m_handled;
    bool m_forcedClose = false;
    std::vector<HWND> m_fileDialogWindows;
    std::vector<FileDialog> m_fileDialogs;
    std::vector<Box> m_boxes;
};

// Clicks a push button the way a flat button delivers it: a posted BN_CLICKED command.
void PostClick(HWND dialog, int id);
// The same click, handled before this returns.
void SendClick(HWND dialog, int id);

// A file name in the system's temporary folder.
std::string TempPath(const char* name);
// A file's bytes (empty when it cannot be read), and a file made of bytes.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Sends an empty message to a window every few milliseconds from another thread and counts the
// ones it did not answer within 100 ms: a window that some work blocks shows up here.
class ResponsivenessProbe {
public:
    explicit ResponsivenessProbe(HWND window);
    ~ResponsivenessProbe() { Stop(); }
    ResponsivenessProbe(const ResponsivenessProbe&) = delete;
    ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;
    // Ends the probe; the number of unanswered messages.
    int Stop();

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_missed{0};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};
