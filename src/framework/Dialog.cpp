// CDialog: template loading, the initialisation hand-over from the dialog manager, DLGINIT data.
#include "framework/Dialog.h"

#include <new>

#include "framework/DataExchange.h"
#include "framework/LateBound.h"
#include "framework/WinApp.h"

namespace {
// Resource type of a template's initialisation data, and the 16-bit message number that the data
// uses for "add a string to a combo box".
const WORD kDlgInitType = 240;
const WORD kDlgInitComboAddString = 0x0403;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

namespace {
// The common control classes a template uses must be registered before the dialog is made.
void RegisterCommonControls(DWORD classes)
{
    if (!classes) return;
    static const auto initCommonControls =
        LateBound<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX request{sizeof request, classes};
    if (initCommonControls) initCommonControls(&request);
}
}  // namespace

INT_PTR CDialog::DoModal()
{
    RegisterCommonControls(m_dwCommonControls);
    m_bModal = true;
    // A dialog given no parent is owned by the window the user is working in (else the main
    // window), as in the classic framework: that window stays disabled and beneath it meanwhile.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : GetActiveWindow();
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->m_hWnd;
    // Made through the wide API, so that the dialog's controls are Unicode windows.
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

bool CDialog::Create(CWnd* parent)
{
    RegisterCommonControls(m_dwCommonControls);
    m_bModal = false;
    if (parent) m_pParentWnd = parent;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    // Only the first message is ours to take: from then on the dialog window is subclassed and
    // every message reaches the object's WindowProc before the dialog manager sees it.
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->SubclassWindow(hwnd);
    RECT before;
    GetWindowRect(hwnd, &before);
    BOOL result = TRUE;
    try {
        result = dialog->OnInitDialog();
    } catch (const std::bad_alloc&) {
        AfxOutOfMemory();
    }
    // A dialog that its template does not place and that did not place itself opens centred over
    // the window it belongs to, where the user is looking.
    RECT after;
    GetWindowRect(hwnd, &after);
    const LONG placed = DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE;
    if (EqualRect(&before, &after) && !(GetWindowLongA(hwnd, GWL_STYLE) & placed)) dialog->CenterWindow();
    return result;
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::ExecuteDlgInit()
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(kDlgInitType));
    if (!info) return;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, info)));
    const BYTE* end = data + SizeofResource(module, info);
    // Each item: control ID (16 bits), message (16 bits), data length (32 bits), data.
    while (data && data + 8 <= end) {
        WORD id, message;
        DWORD length;
        memcpy(&id, data, 2);
        if (id == 0) break;
        memcpy(&message, data + 2, 2);
        memcpy(&length, data + 4, 4);
        data += 8;
        if (length > static_cast<DWORD>(end - data)) break;
        if (message == kDlgInitComboAddString) {
            std::string text(reinterpret_cast<const char*>(data), length);
            SendDlgItemMessageA(m_hWnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        data += length;
    }
}
