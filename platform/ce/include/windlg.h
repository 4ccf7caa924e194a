// Dialogs, the built-in controls (static, button, edit) and message boxes.
#pragma once
