#include "NotifyIcon.h"

#include "framework/CWinApp.h"
#include "res/resource.h"

namespace
{

const UINT kIconID = 1;
const wchar_t kTip[] = L"Velka登陆器";
const int kAddTries = 2;

} // namespace

const UINT CNotifyIcon::s_nTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

CNotifyIcon::CNotifyIcon(HWND hWnd, UINT nCallbackMessage, ShellNotifyFn pfnShellNotify)
    : m_hWnd(hWnd), m_nCallbackMessage(nCallbackMessage), m_pfnShellNotify(pfnShellNotify),
      m_hIcon(static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)))
{
    Add();
}

CNotifyIcon::~CNotifyIcon()
{
    if (!m_bShown)
        return;
    NOTIFYICONDATAW nid = Data();
    // Nothing more can be done if the notification area refuses.
    m_pfnShellNotify(NIM_DELETE, &nid);
}

bool CNotifyIcon::AddAgain()
{
    m_bShown = false;
    return Add();
}

bool CNotifyIcon::Add()
{
    NOTIFYICONDATAW nid = Data();
    // A version-4 icon shows its tip only when asked to.
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    nid.uCallbackMessage = m_nCallbackMessage;
    nid.hIcon = m_hIcon.Get();
    ::lstrcpynW(nid.szTip, kTip, ARRAYSIZE(nid.szTip));
    for (int nTry = 0; nTry < kAddTries && !m_bShown; ++nTry)
        m_bShown = m_pfnShellNotify(NIM_ADD, &nid) != FALSE;
    if (m_bShown)
    {
        nid.uVersion = NOTIFYICON_VERSION_4;
        // Every system the program runs on (Windows 7 and later) takes it.
        m_pfnShellNotify(NIM_SETVERSION, &nid);
    }
    return m_bShown;
}

bool CNotifyIcon::IsSelection(LPARAM lParam) noexcept
{
    const UINT nEvent = LOWORD(lParam);
    return HIWORD(lParam) == kIconID && (nEvent == NIN_SELECT || nEvent == NIN_KEYSELECT);
}

NOTIFYICONDATAW CNotifyIcon::Data() const noexcept
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = kIconID;
    return nid;
}
