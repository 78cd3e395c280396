// Resource ids of the player's executable, shared by Ovrix.rc and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_OVRIX_DIALOG 102
#define IDR_MAINFRAME 128
#define IDM_ABOUTBOX 0x0010
