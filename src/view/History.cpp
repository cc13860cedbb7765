// The query history: a record for every answer, walked with "<" and ">".
#include "app/WhoisDlg.h"
#include "res/resource.h"

void CWhoisDlg::PushRecord(std::shared_ptr<const WideText> text)
{
    m_pCurrent = PushRecordAfter(m_pCurrent, m_strQuestion.Str(), m_strAnswer.Shared(), m_nLastServer, m_strJson.Str());
    m_pCurrent->text = std::move(text);
    ShowRecord(m_pCurrent);
    UpdateHistoryButtons();
    // The run ends with its answer handed over; a large one goes on into the view from the
    // message loop, until a new answer or a step in the history replaces it.
    EndRun();
}

void CWhoisDlg::OnHistoryBack()
{
    // Until a run's answer has been handed over (also after "&Stop") the history stays as it is.
    if (m_bRunning || !m_pCurrent || !m_pCurrent->older) return;
    m_pCurrent = m_pCurrent->older;
    ShowRecord(m_pCurrent);
    UpdateHistoryButtons();
}

void CWhoisDlg::OnHistoryForward()
{
    if (m_bRunning || !m_pCurrent || !m_pCurrent->newer) return;
    m_pCurrent = m_pCurrent->newer;
    ShowRecord(m_pCurrent);
    UpdateHistoryButtons();
}

void CWhoisDlg::UpdateHistoryButtons()
{
    m_btnPrev.EnableWindow(m_pCurrent && m_pCurrent->older);
    m_btnNext.EnableWindow(m_pCurrent && m_pCurrent->newer);
}
