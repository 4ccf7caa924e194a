// The request of every framework main frame and dialog that comes up: the application's thread
// is to start its device wait.
#pragma once

// Posts "WM_VELAFW_WAITSTART" (0, 0) to the thread of the current application object; nothing
// without one.
void VLFWPostWaitStart();
