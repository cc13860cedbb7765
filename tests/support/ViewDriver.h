// Driving the main dialog's answer view, history and saving from a test: the dialog with ARIN (and
// the two referred registries) and the domain-name registry on two scripted servers, reading the
// view's character formats, real mouse input and the clipboard.
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
    RedirectedServers m_servers{m_arin.Port()};
    CWhoisDlg m_dlg;
};

// An answer's text as the view holds it: each line end (a carriage return and line feed, or either
// alone) one line feed.
std::string AsShown(const std::string& answer);
// Where the view shows each byte of `answer` (and its end), given the text the view shows: the
// same bytes with line breaks of the view's own put in.
std::vector<long> ViewPositions(const std::string& answer, const std::string& shown);
// The character format of the character at `position`, read through a one-character selection.
CHARFORMATA CharFormatAt(HWND view, long position);
// The point in screen coordinates a few pixels inside character `position` of the view.
POINT CharScreenPoint(HWND view, long position);

// The clipboard's Unicode text, in UTF-8.
std::string ClipboardText();
void SetClipboardText(const std::string& text);
// Puts text of any script (given in UTF-8) on the clipboard as Unicode text.
void SetClipboardUnicodeText(const std::string& utf8);
void EmptyTheClipboard();
