// Device contexts and drawing objects of the class library (CDC, CPaintDC, CClientDC, CGdiObject, CPen, CBrush, CFont, CBitmap).
#pragma once
