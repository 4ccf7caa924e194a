// Icons and bitmaps loaded from module resources (LoadImage, LoadIcon, LoadBitmap).
#pragma once
