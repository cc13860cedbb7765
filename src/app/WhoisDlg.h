// CWhoisDlg: the main window. It owns the state of the running program; only the user-interface
// thread touches it. A query's worker gets copies and reports back by posted messages.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/RichEditCtrl.h"
#include "query/QuerySocket.h"
#include "settings/OptionsDlg.h"
#include "ui/FlatButton.h"
#include "ui/ServerListDlg.h"
#include "view/Anchors.h"
#include "view/HistoryChain.h"

// Posted by a query's worker: a status text (wParam: string ID; lParam: owned std::string, the host).
constexpr UINT WM_QUERY_STATUS = WM_APP + 1;
// Posted by a query's worker at its end (lParam: owned QueryResult).
constexpr UINT WM_QUERY_DONE = WM_APP + 2;
// Posted by a link click: show the members once the answer view has finished with the click.
constexpr UINT WM_SHOW_MEMBERS = WM_APP + 3;

class CWinHttpClient;

class CWhoisDlg : public CDialog {
public:
    CWhoisDlg();
    ~CWhoisDlg() override;

    CString m_strIniPath;
    int m_bAskAtStart = 0;
    // The running query's socket and stop flag, shared with its worker; null while idle.
    std::shared_ptr<QuerySocket> m_hSocket;
    // The running query's RDAP requests, stopped with its socket; null while idle.
    std::shared_ptr<CWinHttpClient> m_pHttp;
    CServerListDlg m_dlgServers;
    BOOL m_bRunning = FALSE;
    COptionsDlg m_dlgOptions;
    BOOL m_bFromLink = FALSE;
    HCURSOR m_hLinkCursor;
    // The server of the answer on display: a combo index, or a referred server's host and port.
    Server m_nLastServer;
    // The history record on display; the dialog owns the chain it belongs to.
    QueryRecord* m_pCurrent = nullptr;
    BOOL m_bGotAnswer = FALSE;
    int m_nServerChoice = 0;
    BOOL m_bQueryActive = FALSE;
    CFlatButton m_btnAbout;
    CFlatButton m_btnData;
    CFlatButton m_btnOptions;
    CStatic m_stcStatus;
    CEdit m_edtQuestion;
    CComboBox m_cmbServer;
    CFlatButton m_btnAsk;
    CRichEditCtrl m_richAnswer;
    CFlatButton m_btnSave;
    CFlatButton m_btnNext;
    CFlatButton m_btnPrev;
    // The question as typed, in UTF-8: it may be of any script.
    CString m_strQuestion;
    int m_nServer = 0;
    CString m_strAnswer;
    // The answer as it came when it is RDAP's JSON ("&Save..." can write it), else empty.
    CString m_strJson;
    // In UTF-8, as the status line may name a question or a host of any script.
    CString m_strStatus;
    // While a query runs: the question as typed (the history keeps it, in UTF-8) and, when it is an
    // internationalised name, the ASCII form sent, both named in the status line; else empty.
    CString m_strTypedName;
    CString m_strAsciiName;
    HICON m_hIcon;
    // Logical units per twip of the answer view's font height, negative: -(pixels per inch) / 72.
    double m_dFontScale = -96.0 / 72.0;

    void RebuildServerCombo();
    // The settings store: the registry (bRegistry nonzero) or the INI file m_strIniPath.
    void LoadSettings(BOOL bRegistry);
    // FALSE when a write failed (the caller decides whether the user hears of it).
    BOOL SaveSettings(BOOL bRegistry);
    void ApplyViewSettings();
    // Shows a record (or, with none, the members as they are) with its links marked. A large
    // answer goes into the view from the message loop, after this returns.
    void ShowRecord(const QueryRecord* record);
    // Makes the members a record and shows it; `text` is the answer decoded, when it already is.
    void PushRecord(std::shared_ptr<const WideText> text = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLinkNotify(NMHDR* header, LRESULT* result);
    void OnAsk();
    void OnSave();
    void OnHistoryBack();
    void OnHistoryForward();
    void OnServerChange();
    void OnViewMsgFilter(NMHDR* header, LRESULT* result);
    void OnDataPaste();
    void OnAbout();
    // The layout on resize (in view/Layout.cpp): the smallest size, then the controls' places.
    void OnWindowPosChanging(WINDOWPOS* wp);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnClose();
    void OnOptions();
    LRESULT OnQueryStatus(WPARAM stringId, LPARAM host);
    LRESULT OnQueryDone(WPARAM, LPARAM result);
    LRESULT OnShowMembers(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    void SetStatusText(UINT stringId);
    // Shows a status text in UTF-8.
    void SetStatusLine(const CString& text);
    // Back to idle: the caption "&Ask", the running flags cleared.
    void EndRun();
    // Shows m_strAnswer in the view anew, its links marked unless marking is off; false when the
    // view could not be renewed for it.
    bool ShowAnswer();
    // m_strAnswer as the view shows it: the text on show or the record's when it is theirs, else
    // decoded now (and kept with the record on display when it is its answer).
    std::shared_ptr<const WideText> AnswerText();
    // The answer's part of the data exchange: the answer the view stands for, and the view
    // showing m_strAnswer unless it does already.
    void ExchangeAnswer(CDataExchange* dx);
    void UpdateHistoryButtons();
    // Takes the controls' places at the template's size, from which the layout places them at others.
    void TakeLayout();
    LONG FontHeightInTwips(LONG logicalHeight) const;
    // False while the stored server list has not been read whole: a save then removes no stored entry.
    bool m_bServersReadWhole = true;
    BaseLayout m_layout;
    // How long closing the window waits for a stopped worker (a name lookup cannot be interrupted).
    static constexpr std::chrono::milliseconds kWorkerEndWait{1000};
};

// The main dialog while it exists: the other dialogs reach it through this.
extern CWhoisDlg* g_pMainDlg;
