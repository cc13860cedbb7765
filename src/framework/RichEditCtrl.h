// CRichEditCtrl: the rich edit control (version 2 and later, the wide class "RichEdit20W") filled
// from a content.
//
// A content hands the control its text run by run, in UTF-16, each run plain or marked. The runs
// go in at the end, typed in at the caret in their own format: finding a position in a large text
// is slow in some rich edit implementations, and this way nothing is ever looked up by position.
// What fits in a short time goes in at once; the rest goes in from the message loop, a time slice at a time,
// so the window keeps answering while a large content fills. How long each run may be is the
// content's business: the control lays out a whole line again for each run put into it.
//
// Text always goes in as plain text: a run that begins with "{\rtf" is shown as those characters,
// never interpreted. Replacing a large text in place is very slow in some rich edit
// implementations while a new control is cheap, so a content given to a control that holds text
// replaces the control with a fresh one of the same ID, styles, place, tab position and font; the
// formats, colours and event mask set through this class are applied to the fresh control again.
// The old control, hidden, is destroyed once the new content is all in.
//
// A content may show something else than the text it stands for (a long line broken, a part left
// out): copying a selection gives the text that the selection stands for, as Unicode text.
//
// The control holds a line end as one character, a carriage return and line feed included. So
// that each character handed out takes one position, a line feed right after a carriage return
// goes in as nothing (the return has ended the line), and the control's positions are mapped
// back to the content's.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CRichEditCtrl : public CWnd {
public:
    class Content {
    public:
        struct Run {
            std::wstring text;
            bool marked = false;
        };
        virtual ~Content() = default;
        // The next run to put in; false once all is in.
        virtual bool NextRun(Run& run) = 0;
        // The text that the characters [from, to) of the runs handed out stand for, each character
        // of a run counting one.
        virtual std::wstring TextFor(long from, long to) const = 0;
    };

    // Set on the control while a content fills, so that a reader outside the process can tell
    // when all of it is in.
    static constexpr const char* kFillingProperty = "Tarquelin.RichEditFilling";

    // Shows `content` in place of what the control showed, whose filling stops. Marked runs take
    // `markFormat` over the default format. False, with the control as it was, when no fresh
    // control could be made for it.
    bool Fill(std::unique_ptr<Content> content, const CHARFORMATA& markFormat);
    // The content on show (null before the first).
    const Content* GetContent() const { return m_content.get(); }
    // True while part of the content has still to go in.
    bool IsFilling() const { return m_filling; }

    void SetDefaultCharFormat(const CHARFORMATA& format);
    void SetSelectionCharFormat(const CHARFORMATA& format);
    void SetBackgroundColor(COLORREF color);
    DWORD GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
    void SetEventMask(DWORD mask);
    void HideSelection(BOOL hide, BOOL permanent) { SendMessage(EM_HIDESELECTION, hide, permanent); }
    void SetSel(long start, long end);
    CHARRANGE GetSel() const;
    // The text that the control's characters [from, to) stand for (empty with no content).
    std::wstring TextFor(long from, long to) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    void PostNcDestroy() override;

private:
    bool Recreate();
    void FillBatch();
    void EndFill();
    void StopTimer(HWND control);
    void InsertRun(const Content::Run& run);
    void InsertText(const wchar_t* text);
    // The content's position of the control's position `position`.
    long ContentPosition(long position) const;
    // Puts the text that the selection stands for on the clipboard.
    void CopySelection();

    std::optional<CHARFORMATA> m_defaultFormat;
    std::optional<COLORREF> m_background;
    std::optional<DWORD> m_eventMask;
    std::unique_ptr<Content> m_content;
    bool m_filling = false;
    // The formats of the runs while a content fills.
    CHARFORMATA m_plainFormat{};
    CHARFORMATA m_markFormat{};
    // Where the content's text has gone in: the control's characters so far, whether the last was
    // a carriage return, and the control's positions of the line feeds that went in as nothing.
    long m_controlLength = 0;
    bool m_afterReturn = false;
    std::vector<long> m_droppedFeeds;
    bool m_timerOn = false;
    std::chrono::steady_clock::time_point m_lastPaint;
    // The control a fresh one replaced, hidden until the new content is all in.
    HWND m_oldControl = nullptr;
};
