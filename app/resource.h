// Resource identifiers of Tarnelix.exe. The numbers are fixed: other parts
// of the system (tests, the tray menu, the skin layout) rely on them.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_TARNELIX_DIALOG 102
#define IDR_TRAYMENU 142
#define IDC_HAND_CURSOR 145
#define IDI_TARNELIX 178

#define IDC_DIGIT_UNITS 1007
#define IDC_DIGIT_TENS 1008
#define IDC_DIGIT_HUNDREDS 1009
#define IDC_DIGIT_THOUSANDS 1010
#define IDC_DIGIT_TEN_THOUSANDS 1011
#define IDC_DIGIT_HUNDRED_THOUSANDS 1012
#define IDC_SOUND_LABEL 1028
#define IDC_HIDDEN_STATIC 1039
#define IDC_START 1040
#define IDC_WINDOWS_STARTS 1043
#define IDC_NO_DISPLAY_STARTUP 1044
#define IDC_PLAY_SOUND 1045
#define IDC_NOTIFICATION 1046
#define IDC_AUTO_BLOCK 1047
#define IDC_DISABLE 1048
