// CServerListDlg: the custom server list and the dialog that edits it. The dialog works on a copy
// in its list view; only OK writes the copy back to the list.
#pragma once

#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "query/ServerDirectory.h"
#include "ui/FlatButton.h"

class CServerListDlg : public CDialog {
public:
    CServerListDlg();

    // The user's custom servers, in the user's order; entry k is server index 6 + k.
    std::vector<ServerEntry> m_servers;
    // The combo selection to take after the dialog: always "Automatic".
    int m_nComboSel = kServerAutomatic;
    CFlatButton m_btnUpdate;
    CFlatButton m_btnRemove;
    CFlatButton m_btnOK;
    CFlatButton m_btnCancel;
    CFlatButton m_btnAdd;
    CListCtrl m_list;
    // Host and label as typed, in UTF-8 (as the entries hold them).
    CString m_strHost;
    CString m_strLabel;
    int m_nPort;

    // Row records alive in all list views; each row owns one until the list view deletes the row.
    static int LiveRowRecords();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnAdd();
    void OnRemove();
    void OnUpdate();
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnDeleteItem(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void AddRow(const char* label, const char* host, const char* port);
    // Reads the fields (going on after a port that does not convert) and masks the port to 16 bits.
    CString ReadFields();
    int FirstSelectedRow() const;
};
