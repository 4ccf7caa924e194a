// The class library's window layer; for now the core and the collections.
#pragma once

#include "afx.h"
#include "afxcoll.h"
