// Resource and control IDs of the program. Plain macros only: the portable code includes this too.
#pragma once

#define IDR_MAINFRAME 128
#define IDC_LINK_HAND 104
#define IDD_WHOIS_DIALOG 102

#define IDM_ABOUTBOX 0x0010
#define IDS_ABOUTBOX 101
#define IDS_SOCKETS_INIT_FAILED 103

// Status-line and ask-button texts.
#define IDS_IDLE 400
#define IDS_STOP 401
#define IDS_NOTHING_TO_ASK 402
#define IDS_ASK 403
#define IDS_LOOKING_UP 404
#define IDS_LOOKUP_FAILED 405
#define IDS_CONNECTING 406
#define IDS_REQUESTING 407
#define IDS_WAITING 408
#define IDS_RECEIVING 409
#define IDS_ABORTED 410
#define IDS_CONNECT_FAILED 411
#define IDS_NETWORK_FAILED 412
#define IDS_GOT_DATA 413
#define IDS_COMPLETE 414
#define IDS_ANSWER_CUT 415
// RDAP: the stages and ends that WHOIS has no text for.
#define IDS_RDAP_ASKING 416
#define IDS_RDAP_NO_SERVER 417
#define IDS_RDAP_NOT_FOUND 418
#define IDS_RDAP_RATE_LIMITED 419
#define IDS_RDAP_ERROR 420
#define IDS_RDAP_MALFORMED 421
#define IDS_RDAP_TIMED_OUT 422
#define IDS_RDAP_FAILED 423
#define IDS_RDAP_REGISTRAR_FAILED 424
// Memory that ran out during a run.
#define IDS_OUT_OF_MEMORY 425
#define IDS_ANSWER_NOT_KEPT 426
// Internationalised names: the status line while one is asked in its ASCII form, and when it has none.
#define IDS_ASKED_AS 430
#define IDS_NO_ASCII_FORM 431

// The answer view's own texts.
#define IDS_ANSWER_NOT_SHOWN 440
#define IDS_VIEW_FAILED 441

// Controls of the main dialog.
#define IDC_QUESTION 1127
#define IDC_ANSWER 1128
#define IDC_SERVER 1129
#define IDC_STATUS 1130
#define IDC_PREV 284
#define IDC_NEXT 3
#define IDC_SAVE 34765
#define IDC_DATA 34766
#define IDC_OPTIONS 34767
#define IDC_ABOUT 34768

// The custom server list dialog.
#define IDD_SERVER_LIST 265
#define IDC_SERVER_LABEL 1000
#define IDC_SERVER_HOST 1127
#define IDC_SERVER_PORT 1132
#define IDC_SERVER_ROWS 1005
#define IDC_SERVER_ADD 3
#define IDC_SERVER_REMOVE 4
#define IDC_SERVER_UPDATE 5

// The Options dialog.
#define IDD_OPTIONS 130
#define IDC_SELECT_FONT 1004
#define IDC_BACKGROUND_COLOR 1005
#define IDC_TEXT_COLOR 1006
#define IDC_LINK_COLOR 1007
#define IDC_NO_LINK_PARSING 1008
#define IDC_LOAD_INI 3
#define IDC_SAVE_INI 4

// The About box and Quick help.
#define IDD_ABOUTBOX 100
#define IDD_QUICK_HELP 131
#define IDC_QUICK_HELP 3
#define IDC_HELP_TEXT 1009
#define IDC_MAIL_LINK 1108
#define IDC_WEB_LINK 1109
// The maker's addresses: the About box's link texts and targets, and the last lines of Quick help.
#define WHOIS_FEEDBACK_ADDRESS "feedback@tarquelin.example"
#define WHOIS_WEB_SITE "http://www.tarquelin.example/whois/"
