// The program's one application object; the class library's program entry runs it.
#include "VelaDeskApp.h"

CVelaDeskApp theApp;
