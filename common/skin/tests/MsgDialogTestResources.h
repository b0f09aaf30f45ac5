#pragma once
// Resources of the message dialog tests' own module.
#define IDD_TEST_OWN_DIALOG 129
#define IDC_TEST_OWN_CONTROL 4242
#define IDS_TEST_MESSAGE 200
