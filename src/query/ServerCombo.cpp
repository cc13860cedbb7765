// The server combo: the user's choice and the custom entries after the six fixed ones.
#include "app/WhoisDlg.h"
#include "text/Utf8.h"

void CWhoisDlg::OnServerChange()
{
    if (m_cmbServer.GetCurSel() == kServerAddMore) {
        // "< add more >" is no server: it opens the list, and the combo then returns to the
        // selection the list dialog names, whether the list was changed or not.
        m_dlgServers.DoModal();
        m_cmbServer.SetCurSel(m_dlgServers.m_nComboSel);
        RebuildServerCombo();
    }
    m_nServerChoice = m_cmbServer.GetCurSel();
}

void CWhoisDlg::RebuildServerCombo()
{
    while (m_cmbServer.GetCount() > kFirstCustomServer) m_cmbServer.DeleteString(kFirstCustomServer);
    for (const ServerEntry& entry : m_dlgServers.m_servers) m_cmbServer.AddString(Utf8ToWide(entry.label).c_str());
    // A custom entry that was chosen and is gone leaves the choice on "Automatic".
    const int count = m_cmbServer.GetCount();
    if (m_cmbServer.GetCurSel() < 0) m_cmbServer.SetCurSel(kServerAutomatic);
    if (m_nServer >= count) m_nServer = kServerAutomatic;
    if (m_nServerChoice >= count) m_nServerChoice = kServerAutomatic;
}
