// CRichEditCtrl: the rich edit control (version 1, class "RICHEDIT") as the answer view uses it.
//
// Text always goes in as plain text: a text that begins with "{\rtf" is shown as those characters,
// never interpreted. Replacing a large text in place is very slow in some rich edit implementations
// while a new control is cheap, so setting a new text into a control that already holds text
// replaces the control with a fresh one of the same ID, styles, place, tab position and font; the
// formats, colours and event mask set through this class are applied to the fresh control again.
// The old control, hidden, is destroyed once the new text is all in.
//
// A text goes in at the end of the control run by run, each run typed in at the caret in its own
// format, marked or plain: finding a position in a large text is slow in some rich edit
// implementations, and this way nothing is ever looked up by position. The marked ranges are found
// a piece of whole lines at a time. A line is laid out again for each run, so one line takes runs
// only up to a number and a length; the rest of a line with more marks than that goes in plain.
// What fits in a short time goes in at once; the rest goes in from the message loop, a short batch
// at a time, so the window keeps answering while a large text fills. The control keeps the text it
// was given, so reading it back never depends on how far the filling has come.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CRichEditCtrl : public CWnd {
public:
    // The ranges of `text` to show in the marked format that lie in the piece [from, to), which
    // holds whole lines; called for each piece as it goes in.
    using RangeFinder = std::function<std::vector<CHARRANGE>(const char* text, size_t from, size_t to)>;

    // Shows `text`; the same text again, with the same marking, leaves the control as it is.
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Texts set from now on show the ranges that `finder` lists in `format` (applied over the
    // default format); an empty finder marks nothing. The next text is shown anew even if it is
    // the one on show.
    void SetMarking(RangeFinder finder, const CHARFORMATA& format = CHARFORMATA{});
    // True while part of the text has still to go in.
    bool IsFilling() const { return m_filled < m_text.size(); }
    // Runs `done` once the text is all in (at once when it is); a later call replaces it.
    void WhenFilled(std::function<void()> done);

    void SetDefaultCharFormat(const CHARFORMATA& format);
    void SetSelectionCharFormat(const CHARFORMATA& format);
    void SetBackgroundColor(COLORREF color);
    DWORD GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
    void SetEventMask(DWORD mask);
    void HideSelection(BOOL hide, BOOL permanent) { SendMessage(EM_HIDESELECTION, hide, permanent); }
    void SetSel(long start, long end);
    CHARRANGE GetSel() const;
    // The selected text; the buffer is sized to the selection.
    CString GetSelText() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    void PostNcDestroy() override;

private:
    void Recreate();
    // Starts over with `text` on show, of which the first `filled` bytes are in the control.
    void ResetFill(std::string text, size_t filled);
    void FillBatch();
    void EndFill();
    void Paint();
    void StopTimer(HWND control);
    void InsertRun();
    void RunWhenFilled();

    std::optional<CHARFORMATA> m_defaultFormat;
    std::optional<COLORREF> m_background;
    std::optional<DWORD> m_eventMask;
    RangeFinder m_finder;
    CHARFORMATA m_markFormat{};
    bool m_markingChanged = false;
    // The text on show, how much of it is in the control, and the end and marks of the piece going
    // in with the next mark to reach.
    std::string m_text;
    size_t m_filled = 0;
    std::vector<CHARRANGE> m_marks;
    size_t m_nextMark = 0;
    size_t m_pieceEnd = 0;
    // Where the line that the next run goes into begins, and the runs it has so far.
    size_t m_lineStart = 0;
    size_t m_lineRuns = 0;
    bool m_timerOn = false;
    std::chrono::steady_clock::time_point m_lastPaint;
    // The control a fresh one replaced, hidden until the new text is all in.
    HWND m_oldControl = nullptr;
    // The format of unmarked runs while a text fills.
    CHARFORMATA m_plainFormat{};
    std::function<void()> m_whenFilled;
};
