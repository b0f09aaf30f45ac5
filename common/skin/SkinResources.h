#pragma once
// Resource ids of the toolkit's own templates. They sit in a range of their
// own (30100 and up) so that they never meet the templates of the module
// that links the toolkit: the control panel DLL numbers its dialogs from 100.
// Every program or DLL that shows these dialogs includes SkinDialogs.rc in its
// own .rc, so each template lives in the module whose code shows it.

#define IDD_SKIN_MSGDIALOG 30100

// Controls keep the numbers the dialogs' code uses.
#define IDC_SKIN_MSGTEXT 1000

// The program's icon every frame falls back to.
#define IDI_SKIN_PROGRAM 128
