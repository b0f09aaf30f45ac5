#pragma once
// Test templates only; the toolkit's own templates use other ids.
#define IDD_SKINDLG_TEST 3301
#define IDD_SKINDLG_CHILD 3302
#define IDD_FRAMEDLG_TEST 3303

#define IDC_TEST_CHECK 3401
#define IDC_TEST_MULTILINE_CHECK 3402
#define IDC_TEST_RADIO 3403
#define IDC_TEST_GROUP 3404
#define IDC_TEST_PUSH 3405
#define IDC_TEST_STATIC 3406
#define IDC_TEST_EDIT 3407
#define IDC_TEST_TRACKBAR 3408
