// CRichEditCtrl: the rich edit control (version 1, class "RICHEDIT") as the answer view uses it.
//
// Text always travels as plain text (EM_STREAMIN/EM_STREAMOUT with SF_TEXT): a text that begins
// with "{\rtf" is shown as those characters, never interpreted. Replacing a large text in place is
// very slow in some rich edit implementations while a new control is cheap, so setting the text of
// a control that already holds text replaces the control with a fresh one of the same ID, styles,
// place, tab position and font; the formats, colours and event mask set through this class are
// applied to the fresh control again. The old control is destroyed when the message loop next
// runs, after the new text has been painted.
//
// A text goes in piece by piece, in whole lines. Formatting a large text that is all in is many
// times slower in some rich edit implementations than formatting each piece as soon as it is in,
// so the owner can hand over a piece formatter that is called for each piece in turn.
#pragma once

#include <functional>
#include <optional>

#include "framework/Wnd.h"

class CRichEditCtrl : public CWnd {
public:
    // Called with each piece of a new text and the position of its first character, once the
    // piece is in the control.
    using PieceFormatter = std::function<void(const char* piece, size_t length, long start)>;

    void SetWindowText(const char* text) override;
    // Formats the pieces of the texts set from now on; an empty formatter ends that.
    void SetPieceFormatter(PieceFormatter formatter) { m_pieceFormatter = std::move(formatter); }
    CString GetWindowText() const override;

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

protected:
    void PreSubclassWindow() override;

private:
    void Recreate();
    void StreamIn(const char* text, size_t length, UINT flags);

    std::optional<CHARFORMATA> m_defaultFormat;
    std::optional<COLORREF> m_background;
    std::optional<DWORD> m_eventMask;
    PieceFormatter m_pieceFormatter;
};
