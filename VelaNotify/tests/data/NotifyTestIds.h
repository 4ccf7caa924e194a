// Ids of the test dialogs.
#define IDD_STATUS 100
#define IDD_CHILD 101
#define IDC_EDIT 1001
#define IDC_ICON16 1002
#define IDC_IME 1003
#define IDC_KEY 1004
#define IDC_WIDE 1005
#define IDC_CLOCK 1006
#define IDC_CHILD_KEY 1007
#define IDC_GROUP 1008
#define IDC_GROUPED_KEY 1009
#define IDC_SECOND_EDIT 1010
#define IDD_STATUSBAR 102
