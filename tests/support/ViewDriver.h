// Driving the main dialog's answer view, history and saving from a test: the dialog with ARIN (and
// the two referred registries) and the domain-name registry on two scripted servers, reading the
// view's character formats, real mouse input, the clipboard, and a watcher that answers the Save As
// dialog and the message boxes that open in this thread's modal loops.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/Input.h"
#include "support/ScriptedWhoisServer.h"

// The main dialog, created modelessly. ARIN, RIPE NCC and APNIC answer from m_arin, the domain-name
// registry from m_interNic, so a test can tell which registry was asked.
class MainDialogViewTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The view is replaced by a fresh control whenever a new answer is shown: always look it up.
    HWND View() const { return m_dlg.GetDlgItem(IDC_ANSWER); }
    std::string ViewText() const { return RichEditText(View()); }
    std::string QuestionText() const { return ItemText(m_dlg.m_hWnd, IDC_QUESTION); }
    std::string StatusText() const { return ItemText(m_dlg.m_hWnd, IDC_STATUS); }
    bool Enabled(int id) const { return IsWindowEnabled(m_dlg.GetDlgItem(id)) != FALSE; }
    // The records of the history chain that the record on display belongs to.
    int RecordCount() const;

    void Ask(const std::string& question);
    // Pumps until the run in progress (if any) has ended, its answer all in the view.
    bool WaitForEnd(int limitMs = 10000);
    bool WaitForStatus(const std::string& text);
    // Asks and waits for the end; false if the run did not end.
    bool AskAndWait(const std::string& question, int limitMs = 10000);
    // What a copy of the whole view puts on the clipboard.
    std::string CopiedAll();

    ScriptedWhoisServer m_arin;
    ScriptedWhoisServer m_interNic;
    ServerAddress m_saved[kServerAddMore];
    CWhoisDlg m_dlg;
};

// Where the view shows each byte of `answer` (and its end), given the text the view shows: the
// same bytes with line breaks of the view's own put in.
std::vector<long> ViewPositions(const std::string& answer, const std::string& shown);
// The character format of the character at `position`, read through a one-character selection.
CHARFORMATA CharFormatAt(HWND view, long position);
// The point in screen coordinates a few pixels inside character `position` of the view.
POINT CharScreenPoint(HWND view, long position);

std::string ClipboardText();
void SetClipboardText(const std::string& text);
void EmptyTheClipboard();

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
