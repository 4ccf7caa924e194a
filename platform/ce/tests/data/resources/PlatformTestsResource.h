// Ids of the test executable's resources, shared by the script and the tests.
#define IDS_GREETING     1
#define IDS_LONG         2
#define IDS_EMPTY_SLOT   3
#define IDS_NEUTRAL_ONLY 40
#define IDS_ENGLISH_ONLY 50
#define IDS_LAST_IN_BLOCK 15
#define IDS_HIGH         65535
