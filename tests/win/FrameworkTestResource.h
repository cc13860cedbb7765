// IDs of the test-only dialog templates and strings used by the framework tests (all 9000 and up,
// clear of the program's own resources).
#pragma once

// A dialog with one control of each exchanged kind, a rich edit in the middle and a push button.
#define IDD_FW_EXCHANGE 9000
// The rich edit as the first child, and as the last child, of a small dialog.
#define IDD_FW_RICH_FIRST 9010
#define IDD_FW_RICH_LAST 9020

#define IDC_FW_TEXT 9001
#define IDC_FW_NUMBER 9002
#define IDC_FW_CHOICE 9003
#define IDC_FW_CHECK 9004
#define IDC_FW_RICH 9005
#define IDC_FW_BUTTON 9006

// A string-table entry with characters outside ASCII (code page 1252 source).
#define IDS_FW_ACCENTS 9030
