#pragma once
// Resources of the tab strip, in every module that shows one.
#define IDB_TAB_BUTTONS 179
