#pragma once
#include "afxcoll.h"
