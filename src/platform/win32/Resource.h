// Resource ids of the player's executable, shared by Ovrix.rc and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_OVRIX_DIALOG 102
#define IDD_PROGRESS_DIALOG 103
#define IDD_SHUTDOWN_DIALOG 104
#define IDD_INPUT_BOX 105
#define IDD_INPUT_BOX_ML 106
#define IDD_SCRIPT_ERROR 107
#define IDC_SHUTDOWN_IMMEDIATE 1005
#define IDC_SHUTDOWN_COUNTDOWN 1007
#define IDC_SHUTDOWN_MESSAGE 1008
#define IDC_SCRIPT_ERROR_TEXT 1010
#define IDC_PROGRESS_STEP 1001
#define IDC_PROGRESS_SCRIPT 1002
#define IDC_PROGRESS_STATUS 1003
#define IDC_PROGRESS_REPEAT 1004
// The dialogs a script asks with (the selection list and the parameter grid
// are built in memory, with these control ids).
#define IDC_INPUT_PROMPT 1001
#define IDC_INPUT_TEXT 1009
#define IDC_SELECT_COMBO 1001
#define IDC_SELECT_PROMPT 1002
#define IDC_PARAMETER_LIST 1001
#define IDR_MAINFRAME 128
#define IDM_ABOUTBOX 0x0010
