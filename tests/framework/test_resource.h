// Resources of the framework tests.
#define IDD_TEST_COMBO 201
#define IDD_TEST_HOST 202
#define IDD_TEST_CHILD 203
#define IDD_TEST_ACTIVEX 204
#define IDD_TEST_PLACED 205

#define IDC_TEST_COMBO 1001
#define IDC_TEST_EDIT 1002
#define IDC_TEST_INNER_EDIT 1003
#define IDC_TEST_BUTTON 1004
#define IDC_TEST_CONTROL 1000

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
