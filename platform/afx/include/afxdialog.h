// Dialogs (CDialog, CDataExchange, DDX_Control) and AfxMessageBox.
#pragma once
