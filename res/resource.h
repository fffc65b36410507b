// Resource and command ids of Termaris.
#pragma once

#define IDI_TRM 100
#define IDR_MAINFRAME 101
#define IDR_TOOLBAR 102
#define IDD_FORM 103
#define IDC_TAB 104
#define IDC_LIST 105
#define IDD_OPTIONS 106
#define ID_OPTIONS 106
#define ID_ALERT_TIMER 107

#define IDB_DONE 200
#define IDB_OPEN 201
#define IDB_DUE 202
// The same pictures drawn for 150 % and 200 % display scale.
#define IDR_TOOLBAR_150 112
#define IDR_TOOLBAR_200 122
#define IDB_DONE_150 210
#define IDB_OPEN_150 211
#define IDB_DUE_150 212
#define IDB_DONE_200 220
#define IDB_OPEN_200 221
#define IDB_DUE_200 222

#define IDC_EDIT0 300
#define IDC_HINT 399

#define ID_SHOW_ALL 500
#define ID_RELOAD_VIEW 501
#define ID_NEW_DATE 502
#define ID_EDIT_DATE 503
#define ID_CANCEL_EDIT 504
#define ID_CONFIRM_EDIT 505
#define ID_DELETE_DATE 506
#define ID_SAVE_DATES 507
#define ID_PREV 508
#define ID_NEXT 509
#define ID_INFO 510
#define ID_EXIT 511
#define ID_IMPORT_ICAL 530
#define ID_EXPORT_ICAL 531
// Posted when the date file's folder changed, sent at every alert tick: look at the date file.
#define ID_CHECK_FILE 540
#define ID_REFILL 600
#define ID_RELOAD 601

#define IDC_GROUP_POS 700
#define IDC_GROUP_DATE 701
#define IDC_GROUP_SETUP 702
#define IDC_GROUP_MEDIA 703
#define IDC_POS_X 800
#define IDC_POS_Y 801
#define IDC_SIZE_X 802
#define IDC_SIZE_Y 803
#define IDC_COL0 804
#define IDC_COL1 805
#define IDC_COL2 806
#define IDC_COL3 807
#define IDC_MEDIA_FILE 808
#define IDC_LABEL0 900
#define IDC_CHK_YMD 1000
#define IDC_CHK_DMY 1001
#define IDC_CHK_STAT 1002
#define IDC_CHK_LINK 1003
#define IDC_CHK_MEDIA 1004
#define IDC_CHK_NOTIFY 1005

// Framework commands and bars
#include "../fw/command_ids.h"
#define IDS_INDICATOR_CAPS 59137
#define IDS_INDICATOR_NUM 59138
#define IDS_INDICATOR_SCRL 59139
