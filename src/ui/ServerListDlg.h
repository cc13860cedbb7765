// CServerListDlg: the custom server list and the dialog that edits it.
#pragma once

#include <vector>

#include "framework/Dialog.h"
#include "query/ServerDirectory.h"

class CServerListDlg : public CDialog {
public:
    CServerListDlg() : CDialog(kTemplate) {}

    // The user's custom servers, in the user's order; entry k is server index 6 + k.
    std::vector<ServerEntry> m_servers;
    // The combo selection to take after the dialog: always "Automatic".
    int m_nComboSel = kServerAutomatic;

private:
    static constexpr UINT kTemplate = 265;
};
