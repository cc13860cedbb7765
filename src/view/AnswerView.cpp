// The answer view: its look, showing a record with its links marked, link clicks, the right-button
// copy and "&Data >".
#include <algorithm>

#include "app/WhoisDlg.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "text/SystemText.h"
#include "text/Utf8.h"
#include "view/FillPlan.h"
#include "view/FontHeight.h"
#include "view/LinkScan.h"

namespace {
const DWORD kViewFormatMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_ITALIC | CFM_BOLD;
const DWORD kLinkFormatMask = CFM_COLOR | CFM_UNDERLINETYPE | CFM_LINK | CFM_UNDERLINE;
// What the view shows of an answer. The rich edit lays out a whole line again for each run put
// into it, and under Wine it holds about 100 bytes for each character it shows and takes about a
// tenth of a second to let go of 1 MB of them. Display lines of at most 1 KB and 32 links keep each
// run short, as do plain runs of 4 KB and 64 lines; 512 KB, 10,000 lines and 5,000 links keep the
// view quick to replace and to scroll. An answer's lines hold a few handles each: they come whole
// and marked; beyond the limits the view says how much more there is.
const FillLimits kViewLimits{1024, 32, 4096, 64, 512 * 1024, 10000, 5000};

// The number with a comma between each group of three digits.
std::string Grouped(size_t number)
{
    std::string digits = std::to_string(number);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

// An answer as the view shows it, run by run, with its links marked or not: the server's bytes
// (what the answer reads back as) and the text they decode to, which the view shows and scans.
class AnswerContent : public CRichEditCtrl::Content {
public:
    AnswerContent(const CString& answer, std::shared_ptr<const WideText> text, bool marking)
        : m_answer(answer),
          m_text(std::move(text)),
          m_plan(m_text->size(),
                 [this](size_t from, size_t to) {
                     const WideChar* text = m_text->data();
                     return static_cast<size_t>(std::find_if(text + from, text + to,
                                                             [](WideChar c) { return c == L'\n' || c == L'\r'; }) -
                                                text);
                 },
                 marking ? FillPlan::MarkFinder([this](size_t from, std::vector<TextRange>& marks) {
                     m_links.clear();
                     const size_t end = ScanLinkPiece(m_text->data(), m_text->size(), from, m_links);
                     for (const LinkSpan& link : m_links) marks.push_back({link.start, link.end});
                     return end;
                 })
                         : FillPlan::MarkFinder(),
                 kViewLimits)
    {
    }

    const CString& Answer() const { return m_answer; }
    const std::shared_ptr<const WideText>& Text() const { return m_text; }

    bool NextRun(Run& run) override
    {
        FillRun next;
        if (!m_plan.Next(next)) return false;
        run.marked = next.kind == RunKind::Marked;
        if (next.kind == RunKind::LineBreak) {
            run.text = L"\n";
        } else if (next.kind == RunKind::Rest) {
            CString pattern, note;
            pattern.LoadString(IDS_ANSWER_NOT_SHOWN);
            note.Format(pattern, Grouped(next.end - next.start).c_str());
            run.text = AnsiToWide(note.Str());
        } else {
            run.text.assign(*m_text, next.start, next.end - next.start);
        }
        return true;
    }

    std::wstring TextFor(long from, long to) const override
    {
        const TextRange range = m_plan.TextFor(static_cast<size_t>(std::max(from, 0L)), static_cast<size_t>(std::max(to, 0L)));
        return m_text->substr(range.start, range.end - range.start);
    }

private:
    CString m_answer;
    std::shared_ptr<const WideText> m_text;
    std::vector<LinkSpan> m_links;
    FillPlan m_plan;
};
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
    // The answer goes in anew even when it is on show: its links take the present settings.
    const bool shown = ShowAnswer();
    UpdateData(FALSE);
    SetStatusText(shown ? IDS_COMPLETE : IDS_VIEW_FAILED);
}

bool CWhoisDlg::ShowAnswer()
{
    CHARFORMATA link{};
    link.cbSize = sizeof link;
    link.dwMask = kLinkFormatMask;
    link.dwEffects = CFE_LINK | CFE_UNDERLINE;
    link.crTextColor = m_dlgOptions.crLink;
    return m_richAnswer.Fill(std::make_unique<AnswerContent>(m_strAnswer, AnswerText(), !m_dlgOptions.bNoLinkParsing), link);
}

std::shared_ptr<const WideText> CWhoisDlg::AnswerText()
{
    const auto* shown = dynamic_cast<const AnswerContent*>(m_richAnswer.GetContent());
    if (shown && shown->Answer().Shared() == m_strAnswer.Shared()) return shown->Text();
    const bool recorded = m_pCurrent && m_pCurrent->answer == m_strAnswer.Shared();
    if (recorded && m_pCurrent->text) return m_pCurrent->text;
    auto text = DecodedAnswerText(m_strAnswer.Str(), AnswerHost(m_nLastServer, m_dlgServers.m_servers));
    if (recorded) m_pCurrent->text = text;
    return text;
}

void CWhoisDlg::ExchangeAnswer(CDataExchange* dx)
{
    dx->PrepareCtrl(IDC_ANSWER);
    const auto* shown = dynamic_cast<const AnswerContent*>(m_richAnswer.GetContent());
    if (dx->m_bSaveAndValidate) {
        m_strAnswer = shown ? shown->Answer() : CString();
        return;
    }
    // The answer on show stays, its marks and its filling as they are.
    if (shown && (shown->Answer().Shared() == m_strAnswer.Shared() || shown->Answer().Str() == m_strAnswer.Str())) return;
    if (!ShowAnswer()) SetStatusText(IDS_VIEW_FAILED);
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
    m_strQuestion += WideToUtf8(m_richAnswer.TextFor(link->chrg.cpMin, link->chrg.cpMax)).c_str();
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
    // Once a run has ended, the status line keeps saying how it ended: the status text the
    // members hold may name a stage of that run.
    const std::wstring status = m_stcStatus.GetWindowTextW();
    UpdateData(FALSE);
    if (!m_bRunning) m_stcStatus.SetWindowTextW(status.c_str());
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
