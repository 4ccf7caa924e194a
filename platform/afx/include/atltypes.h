// Points, sizes and rectangles of the class library (CPoint, CSize, CRect).
#pragma once
