// The launcher's face and nothing else: the floor its start-up is held to.
// A program built as the launcher is (the framework, the same resources, so
// the same manifest, icon and templates) that shows the same dialog (the
// strip's five controls in the template's font, the 79 rows of its initial
// data, painted blue), the pane around the same browser control, at the
// launcher's base size, and makes the same first navigation; no settings
// file, no features, no timer. The launcher over this floor is what its
// behaviour costs at start.

#include "browser/Explorer1.h"
#include "framework/CComboBox.h"
#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/COleControlContainer.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CWinApp.h"
#include "framework/StartupMarks.h"
#include "res/resource.h"

#include <commctrl.h>

namespace
{

const COLORREF kStripColor = RGB(0, 174, 255);
const int kStripHeight = 25;
const wchar_t kFirstPage[] = L"http://www.velka.cn/"; // row 0's

// The browser pane: its template's control, and nothing of the launcher's.
class CFacePane : public CDialog
{
public:
    CFacePane() noexcept : CDialog(IDD_BROWSER_PANE) {}

    CExplorer1 m_explorer;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_EXPLORER, m_explorer);
    }
};

class CFaceDlg : public CDialog
{
public:
    CFaceDlg() noexcept : CDialog(IDD_LAUNCHER_DIALOG) {}

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_PLATFORM_COMBO, m_cbPlatform);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        StartupMarks::Mark("dialog made");
        const HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
        m_pane.Create(IDD_BROWSER_PANE);
        StartupMarks::Mark("pane and browser control made");
        SetWindowPos(nullptr, 0, 0, 1148, 750, SWP_NOMOVE);
        CRect rect;
        ::GetClientRect(m_hWnd, &rect);
        ::SetWindowPos(m_pane.m_hWnd, nullptr, 0, kStripHeight, rect.Width(), rect.Height() - kStripHeight,
                       SWP_SHOWWINDOW);
        ::SetWindowPos(m_pane.m_explorer.m_hWnd, nullptr, 0, 0, rect.Width(), rect.Height() - kStripHeight, 0);
        ::SendMessageW(m_cbPlatform.m_hWnd, CB_SETCURSEL, 0, 0);
        SetDlgItemText(IDC_URL_EDIT, kFirstPage);
        m_pane.m_explorer.Navigate(kFirstPage, nullptr, nullptr, nullptr, nullptr);
        StartupMarks::Mark("first navigation");
        ::SendMessageW(GetDlgItem(IDC_AUTOFIT_CHECK)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW && wParam)
            StartupMarks::Mark("shown");
        return CDialog::WindowProc(message, wParam, lParam);
    }

    afx_msg void OnPaint()
    {
        CRect rect;
        ::GetClientRect(m_hWnd, &rect);
        rect.bottom = rect.top + kStripHeight;
        CPaintDC dc(this);
        dc.FillSolidRect(&rect, kStripColor);
        StartupMarks::Mark("first paint");
        StartupMarks::Done();
    }

    DECLARE_MESSAGE_MAP()

private:
    CComboBox m_cbPlatform;
    CFacePane m_pane;
};

BEGIN_MESSAGE_MAP(CFaceDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class CFaceApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        INITCOMMONCONTROLSEX InitCtrls;
        InitCtrls.dwSize = sizeof(InitCtrls);
        InitCtrls.dwICC = ICC_WIN95_CLASSES;
        ::InitCommonControlsEx(&InitCtrls);
        StartupMarks::Mark("common controls");
        CWinApp::InitInstance();
        AfxEnableControlContainer();
        CFaceDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        return FALSE;
    }
};

CFaceApp theApp;

} // namespace
