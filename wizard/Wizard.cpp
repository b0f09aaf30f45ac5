#include "CWizardApp.h"

FW_PROGRAM_ENTRY(CWizardApp)
