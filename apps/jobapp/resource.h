// Resource ids of the sample job program.
#pragma once

#define IDS_JOB_DONE 1
#define IDS_EXIT_CODE 2
#define IDS_BAD_OPTION 3
