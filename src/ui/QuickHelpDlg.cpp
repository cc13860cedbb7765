// CQuickHelpDlg: the help text, shown read-only through the dialog's data exchange.
#include "ui/QuickHelpDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

namespace {
const char kHelpText[] =
    " This program is made for searching the data in the whois databases.\r\n"
    "With it's help you can find all the info about an IP address, network or domain.\r\n"
    "In automatic mode ir can recognize and search the databases for an IP address or domain.\r\n"
    "Please note that domain means \"example.com\", not \"www.example.com\".\r\n"
    "You can also select the particular server and ask it whatever you want.\r\n"
    "Ask the server for HELP keyword to get the extended search rules.\r\n"
    "\r\n"
    "All the data you can recieve from server may be saved to text file (button at right top).\r\n"
    "Whois's window is resizable and answer view may be customized (Options button).\r\n"
    "Right-click on the window copies the selected data to the clipboard.\r\n"
    "Button \"Data >\" copies the clipboard contents to the question line.\r\n"
    "\r\n"
    "Visit " WHOIS_WEB_SITE " for more info and updates.\r\n"
    "Comments, questions and suggestions, as well as bug reports are greatly appreciated and\r\n"
    "must be sent to " WHOIS_FEEDBACK_ADDRESS "\r\n";
}  // namespace

CQuickHelpDlg::CQuickHelpDlg(CWnd* parent) : CDialog(IDD_QUICK_HELP, parent), m_strHelp(kHelpText) {}

void CQuickHelpDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDCANCEL, m_btnDone);
    DDX_Text(dx, IDC_HELP_TEXT, m_strHelp);
}
