// The answer view: its look, showing a record with its links marked, link clicks, the right-button
// copy and "&Data >".
#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "view/FontHeight.h"
#include "view/LinkScan.h"

namespace {
const DWORD kViewFormatMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_ITALIC | CFM_BOLD;
const DWORD kLinkFormatMask = CFM_COLOR | CFM_UNDERLINETYPE | CFM_LINK | CFM_UNDERLINE;
}  // namespace

LONG CWhoisDlg::FontHeightInTwips(LONG logicalHeight) const
{
    return FontHeightTwips(logicalHeight, m_dFontScale);
}

void CWhoisDlg::ApplyViewSettings()
{
    const LOGFONTA& font = m_dlgOptions.lfFont;
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = kViewFormatMask;
    format.dwEffects = (font.lfWeight > FW_MEDIUM ? CFE_BOLD : 0) | (font.lfItalic ? CFE_ITALIC : 0);
    format.yHeight = FontHeightInTwips(font.lfHeight);
    format.crTextColor = m_dlgOptions.crText;
    format.bCharSet = font.lfCharSet;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    lstrcpynA(format.szFaceName, font.lfFaceName, LF_FACESIZE);

    m_richAnswer.SetDefaultCharFormat(format);
    m_richAnswer.HideSelection(TRUE, TRUE);
    m_richAnswer.SetSel(0, -1);
    m_richAnswer.SetSelectionCharFormat(format);
    m_richAnswer.SetSel(0, 0);
    m_richAnswer.HideSelection(FALSE, FALSE);
    m_richAnswer.SetEventMask(m_richAnswer.GetEventMask() | ENM_LINK | ENM_MOUSEEVENTS);
    m_richAnswer.SetBackgroundColor(m_dlgOptions.crBackground);
}

void CWhoisDlg::ShowRecord(const QueryRecord* record)
{
    if (record) {
        m_strAnswer = CString(record->answer);
        m_strQuestion = CString(record->question);
        m_nLastServer = record->server;
        m_strJson = CString(record->json);
    }
    if (m_dlgOptions.bNoLinkParsing)
        m_richAnswer.SetMarking(nullptr);
    else
        MarkLinks();
    UpdateData(FALSE);
    SetStatusText(IDS_COMPLETE);
}

void CWhoisDlg::MarkLinks()
{
    CHARFORMATA link{};
    link.cbSize = sizeof link;
    link.dwMask = kLinkFormatMask;
    link.dwEffects = CFE_LINK | CFE_UNDERLINE;
    link.crTextColor = m_dlgOptions.crLink;
    m_richAnswer.SetMarking([](const char* text, size_t from, size_t to) {
        std::vector<CHARRANGE> links;
        ForEachLink(text + from, to - from, [&](const LinkSpan& span) {
            // A longer span from the same "(" takes the place of the shorter one.
            const CHARRANGE range{static_cast<LONG>(from + span.start), static_cast<LONG>(from + span.end)};
            if (!links.empty() && links.back().cpMin == range.cpMin)
                links.back() = range;
            else
                links.push_back(range);
        });
        return links;
    }, link);
}

void CWhoisDlg::OnLinkNotify(NMHDR* header, LRESULT* result)
{
    const ENLINK* link = reinterpret_cast<const ENLINK*>(header);
    if (link->msg == WM_SETCURSOR) {
        SetCursor(m_hLinkCursor);
        *result = 1;
        return;
    }
    if (link->msg != WM_LBUTTONUP) {
        *result = 0;
        return;
    }
    // A handle is asked at the server that gave the answer; the domain-name registry wants "!" in
    // front of a handle.
    m_strQuestion = m_nLastServer == kServerInterNic ? "!" : "";
    m_richAnswer.HideSelection(TRUE, TRUE);
    m_richAnswer.SetSel(link->chrg.cpMin, link->chrg.cpMax);
    m_strQuestion += m_richAnswer.GetSelText();
    m_richAnswer.SetSel(0, 0);
    m_richAnswer.HideSelection(FALSE, FALSE);
    m_bFromLink = TRUE;
    // The members are shown once the view has finished with this click: showing them replaces the
    // view, which must not happen inside its own notification. Posted first, the question box
    // shows the new question before the posted "&Ask" reads it.
    PostMessage(WM_SHOW_MEMBERS);
    if (!m_bRunning) PostMessage(WM_COMMAND, IDOK, 0);
    *result = 1;
}

LRESULT CWhoisDlg::OnShowMembers(WPARAM, LPARAM)
{
    UpdateData(FALSE);
    return 0;
}

void CWhoisDlg::OnViewMsgFilter(NMHDR* header, LRESULT* result)
{
    if (reinterpret_cast<const MSGFILTER*>(header)->msg == WM_RBUTTONUP) m_richAnswer.SendMessage(WM_COPY);
    *result = 0;
}

void CWhoisDlg::OnDataPaste()
{
    m_edtQuestion.SendMessage(EM_SETSEL, 0, -1);
    m_edtQuestion.SendMessage(EM_SCROLLCARET);
    m_edtQuestion.SendMessage(WM_PASTE);
}
