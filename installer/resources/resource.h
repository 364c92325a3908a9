// Resource ids of stickinstall, each named once, with the numbers the templates use.
#pragma once

#define IDD_WELCOME          101
#define IDD_LANGUAGE         102
#define IDD_SETTINGS_SOURCE  103
#define IDD_PLUGINS          104
#define IDD_SETTINGS_FILES   105
#define IDI_APP              106
#define IDD_SUMMARY          109
#define IDD_PROGRESS         110

// Plain labels and frames.
#define IDC_STATIC_LABEL     -1
// GetDlgItem finds a label of id -1 by its 16-bit form.
#define IDC_FIRST_PLAIN_LABEL 0xFFFF

// Welcome page
#define IDC_WELCOME_TITLE    1012

// Language page
#define IDC_LANGUAGE_LIST    1001
#define IDC_LANGUAGE_LABEL   1009
#define IDC_LANGUAGE_PROMPT  1010

// Settings source page
#define IDC_COPY_SETTINGS    1001
#define IDC_COPY_PLUGINS     1002
#define IDC_MAIN_INI_EDIT    1009
#define IDC_FTP_INI_EDIT     1010
#define IDC_GENERAL_LABEL    1011
#define IDC_FTP_LABEL        1012
#define IDC_BROWSE_MAIN_INI  5
#define IDC_BROWSE_FTP_INI   6

// Check-list buttons of the plugin and settings-files pages
#define IDC_CHECK_ALL            3
#define IDC_UNCHECK_ALL          4
#define IDC_CHECK_ALL_SELECTED   5
#define IDC_UNCHECK_ALL_SELECTED 6

// Plugin page
#define IDC_PLUGIN_LIST      1004
#define IDC_CHECKED_TOTAL    1013
#define IDC_FREE_SPACE       1014

// Settings-files page
#define IDC_SETTINGS_FILE_LIST 1015

// Summary page
#define IDC_SUMMARY_TEXT     1011

// Progress page
#define IDC_PROGRESS_BAR     1005
#define IDC_STATUS_LINE      1006
#define IDC_PERCENT          1007
