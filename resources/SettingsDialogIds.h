// Control ids of the settings dialog, shared by resources/mtd-demo.rc and the Windows program.
// The edit controls follow the order of mtd::SettingsField; each label's id is its edit's
// id plus 100.
#pragma once

#define IDC_SETTINGS_FIRST 1001
#define IDC_P 1001
#define IDC_KST 1002
#define IDC_NBL 1003
#define IDC_MAXBLOCK 1004
#define IDC_NDN 1005
#define IDC_DDN 1006
#define IDC_TAPS 1007
#define IDC_ITERATIONS 1008
#define IDC_THRESHOLDS 1009
#define IDC_LABEL_OFFSET 100
#define IDC_PRESET 1020
