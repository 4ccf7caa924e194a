// VelaTheme: the themed owner-drawn buttons and the library's table of tiles and arrows.
#pragma once

#include <VelaThemeButton.h>
#include <VelaThemeModule.h>
