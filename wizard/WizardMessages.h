#pragma once
#include <windows.h>

// Messages between the wizard's pages and its sheet (numbers fixed).
const UINT WM_PAGE_MODIFIED = 2024;      // a page marks the settings changed
const UINT WM_WIZARD_SAVE = 11122;       // page to sheet: save everything; sheet to page: store yourself
const UINT WM_WIZARD_QUERYSAVE = 11123;  // page to sheet: may the wizard be left?
const UINT ID_WIZARD_HELP = 57670;       // the Help command
