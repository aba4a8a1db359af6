// Resource ids of the program.
#pragma once

#define IDS_RUNTIME_INIT_FAILED 100

#define IDD_MAIN_DIALOG 102
#define IDB_WORLD_MAP 129
// The map and the rule also at 2x and 3x, for larger display scales.
#define IDB_WORLD_MAP_2X 130
#define IDB_WORLD_MAP_3X 131
#define IDD_REGISTER_CITY 138
#define IDD_ABOUT_DIALOG 141
#define IDD_HELP_DIALOG 142
#define IDB_ABOUT_RULE 143
#define IDB_ABOUT_RULE_2X 144
#define IDB_ABOUT_RULE_3X 145
// The daylight-saving rules of the shipped cities, data/city-rules.txt.
#define IDR_CITY_RULES 150
#define IDI_PROGRAM_ICON 1234

#define IDC_YOUR_CITY_TIME 1001
#define IDC_YOUR_CITY_LIST 1002
#define IDC_DESTINATION_TIME 1003
#define IDC_DESTINATION_LIST 1004
#define IDC_YOUR_CITY_NAME 1007
#define IDC_DESTINATION_NAME 1008
#define IDC_DESTINATION_DATE 1009
#define IDC_YOUR_CITY_DATE 1010
#define IDC_WORLD_MAP 1011
#define IDC_ABOUT_RULE 1012
#define IDC_ABOUT_ICON 1013
#define IDC_CITY_NAME_EDIT 1014
#define IDC_AHEAD_RADIO 1015
#define IDC_BEHIND_RADIO 1016
#define IDC_GMT_GROUP 1017
#define IDC_HOURS_LIST 1018
#define IDC_HELP_TEXT 1024

#define ID_MENU_ABOUT 101
#define ID_MENU_SEPARATOR_1 102
#define ID_MENU_REGISTER_CITY 103
#define ID_MENU_HELP 104
#define ID_MENU_SEPARATOR_2 105
#define ID_MENU_MINIMIZE 106
#define ID_MENU_EXIT 107
#define ID_MENU_DAYLIGHT_SAVING 108

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// One source for the version block and the About dialog's version line.
#define PAVIX_VERSION_NUMBERS 1, 0, 0, 1
#define PAVIX_VERSION_TEXT "1, 0, 0, 1"
