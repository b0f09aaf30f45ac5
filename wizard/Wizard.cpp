#include "WizardApp.h"

FW_PROGRAM_ENTRY(CWizardApp)
