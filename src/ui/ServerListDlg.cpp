// CServerListDlg: the list view of custom servers with its Add, Remove, Update and OK.
#include "ui/ServerListDlg.h"

#include <cstdio>
#include <cstdlib>

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "text/Utf8.h"

namespace {
// What a row carries as its item data: its own copy of the three texts.
struct RowRecord : ServerEntry {
    explicit RowRecord(ServerEntry entry) : ServerEntry(std::move(entry)) { ++s_live; }
    ~RowRecord() { --s_live; }
    RowRecord(const RowRecord&) = delete;
    RowRecord& operator=(const RowRecord&) = delete;

    const std::string& Field(int subItem) const { return subItem == 1 ? host : subItem == 2 ? port : label; }

    static int s_live;
};
int RowRecord::s_live = 0;

struct Column {
    const char* heading;
    int width;
};
const Column kColumns[] = {{"Label", 70}, {"Host", 120}, {"Port", 50}};
}  // namespace

BEGIN_MESSAGE_MAP(CServerListDlg, CDialog)
    ON_BN_CLICKED(IDC_SERVER_ADD, &CServerListDlg::OnAdd)
    ON_BN_CLICKED(IDC_SERVER_REMOVE, &CServerListDlg::OnRemove)
    ON_BN_CLICKED(IDC_SERVER_UPDATE, &CServerListDlg::OnUpdate)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_SERVER_ROWS, &CServerListDlg::OnGetDispInfo)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SERVER_ROWS, &CServerListDlg::OnItemChanged)
    ON_NOTIFY(LVN_DELETEITEM, IDC_SERVER_ROWS, &CServerListDlg::OnDeleteItem)
END_MESSAGE_MAP()

CServerListDlg::CServerListDlg() : CDialog(IDD_SERVER_LIST), m_strHost("localhost"), m_strLabel("Local"), m_nPort(43)
{
    m_dwCommonControls = ICC_LISTVIEW_CLASSES;
}

int CServerListDlg::LiveRowRecords()
{
    return RowRecord::s_live;
}

void CServerListDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SERVER_UPDATE, m_btnUpdate);
    DDX_Control(dx, IDC_SERVER_REMOVE, m_btnRemove);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_SERVER_ADD, m_btnAdd);
    DDX_Control(dx, IDC_SERVER_ROWS, m_list);
    DDX_TextUtf8(dx, IDC_SERVER_HOST, m_strHost);
    DDX_TextUtf8(dx, IDC_SERVER_LABEL, m_strLabel);
    // Last, so that a port that does not convert still leaves host and label read.
    DDX_Text(dx, IDC_SERVER_PORT, m_nPort);
}

BOOL CServerListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int column = 0; column < 3; ++column)
        m_list.InsertColumn(column, kColumns[column].heading, LVCFMT_LEFT, kColumns[column].width, column);
    m_list.SetExtendedStyle(0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_ONECLICKACTIVATE);
    for (const ServerEntry& entry : m_servers) AddRow(entry.label.c_str(), entry.host.c_str(), entry.port.c_str());
    return TRUE;
}

void CServerListDlg::AddRow(const char* label, const char* host, const char* port)
{
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = m_list.GetItemCount();
    row.pszText = LPSTR_TEXTCALLBACKA;
    auto* record = new RowRecord(ServerEntry{label, host, port});
    row.lParam = reinterpret_cast<LPARAM>(record);
    if (m_list.InsertItem(row) < 0) delete record;
}

int CServerListDlg::FirstSelectedRow() const
{
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

CString CServerListDlg::ReadFields()
{
    UpdateData(TRUE);
    m_nPort &= 0xFFFF;
    char port[16];
    std::snprintf(port, sizeof port, "%d", m_nPort);
    return port;
}

void CServerListDlg::OnAdd()
{
    CString port = ReadFields();
    AddRow(m_strLabel, m_strHost, port);
}

void CServerListDlg::OnRemove()
{
    // Each deletion frees its row's record through OnDeleteItem.
    for (int row = FirstSelectedRow(); row >= 0; row = FirstSelectedRow())
        if (!m_list.DeleteItem(row)) break;
}

void CServerListDlg::OnUpdate()
{
    int row = FirstSelectedRow();
    if (row < 0) return;
    CString port = ReadFields();
    auto* record = reinterpret_cast<RowRecord*>(m_list.GetItemData(row));
    record->label = m_strLabel.GetString();
    record->host = m_strHost.GetString();
    record->port = port.GetString();
    // The rows fetch their texts again when they are drawn.
    InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
}

void CServerListDlg::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    // The dialog is a Unicode window, so its list view asks for text in the wide form.
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    const auto* record = reinterpret_cast<const RowRecord*>(item.lParam);
    // The list view names the capacity of its buffer: a longer text is cut, never written past it.
    if ((item.mask & LVIF_TEXT) && record && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, Utf8ToWide(record->Field(item.iSubItem)).c_str(), item.cchTextMax);
    *result = 0;
}

void CServerListDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    int row = FirstSelectedRow();
    if (row < 0) return;
    const auto* record = reinterpret_cast<const RowRecord*>(m_list.GetItemData(row));
    m_strLabel = record->label.c_str();
    m_strHost = record->host.c_str();
    m_nPort = std::atoi(record->port.c_str());
    UpdateData(FALSE);
}

void CServerListDlg::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    delete reinterpret_cast<RowRecord*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
    *result = 0;
}

void CServerListDlg::OnOK()
{
    // The rows replace the list before the fields are validated: a port field that does not
    // convert keeps the dialog open with the list already replaced.
    const int rows = m_list.GetItemCount();
    m_servers.clear();
    for (int row = 0; row < rows; ++row)
        m_servers.push_back(*reinterpret_cast<const RowRecord*>(m_list.GetItemData(row)));
    CDialog::OnOK();
}
