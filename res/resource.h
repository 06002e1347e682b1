// Resource identifiers of OrlimWeb.

// The application
#define IDR_MAINFRAME 128

// The launcher dialog
#define IDD_LAUNCHER_DIALOG 102
#define IDC_AUTOFIT_CHECK 1003
#define IDC_PLATFORM_COMBO 1004
#define IDC_ENTER_BUTTON 1005
#define IDC_URL_EDIT 1007

// The launcher's additions to its system menu (multiples of 16, below the
// system's own commands)
#define IDM_TOPMOST 0x0010
#define IDM_RELOAD 0x0020
#define IDM_ZOOM_100 0x0030
#define IDM_ZOOM_90 0x0040
#define IDM_ZOOM_80 0x0050
#define IDM_ZOOM_70 0x0060
#define IDM_ZOOM_AUTO 0x0070
#define IDM_MUTE 0x0080
#define IDM_SCREENSHOT 0x0090
#define IDM_BOSSKEY 0x00A0
#define IDM_FLASH_STATUS 0x00B0
#define IDM_OPEN_SCREENSHOTS 0x00C0
#define IDM_ZOOM_150 0x00D0
#define IDM_ZOOM_125 0x00E0
#define IDM_CLEAR_CACHE 0x00F0
#define IDM_ANOTHER_ACCOUNT 0x0100

// The browser pane
#define IDD_BROWSER_PANE 132
#define IDC_EXPLORER 1000

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
