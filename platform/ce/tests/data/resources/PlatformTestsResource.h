// Ids of the test executable's resources, shared by the script and the tests.
#define IDS_GREETING     1
#define IDS_LONG         2
#define IDS_EMPTY_SLOT   3
#define IDS_NEUTRAL_ONLY 40
#define IDS_ENGLISH_ONLY 50
#define IDS_LAST_IN_BLOCK 15
#define IDS_HIGH         65535

// Images and dialogs (files in ../images, made by make_images.py there).
#define IDI_APP          200
#define IDI_ALPHA        201
#define IDI_PNG          202
#define IDB_FOUR         210
#define IDB_EIGHT        211
#define IDB_RGB24        212
#define IDD_PLAIN        220
#define IDD_EXTENDED     221
#define IDC_NAME         1001
#define IDC_OWNER_DRAWN  1002
#define IDI_SECOND_SCRIPT 230
