// Resource identifiers of OrlimWeb.

// The application
#define IDR_MAINFRAME 128

// The launcher dialog
#define IDD_LAUNCHER_DIALOG 102
#define IDC_AUTOFIT_CHECK 1003
#define IDC_PLATFORM_COMBO 1004
#define IDC_ENTER_BUTTON 1005
#define IDC_URL_EDIT 1007

// The browser pane
#define IDD_BROWSER_PANE 132
#define IDC_EXPLORER 1000

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
