// The control classes (CStatic, CButton, CEdit).
#pragma once
