// Identifiers shared by the resource script and the code: resources,
// strings, commands and child windows. The numbers are fixed; the menu,
// the toolbar and the dialog templates refer to them.
#ifndef VISTELLO_RESOURCES_RESOURCE_IDS_H
#define VISTELLO_RESOURCES_RESOURCE_IDS_H

// Dialog templates.
#define IDD_ABOUT 103
#define IDD_ABOUT_MAKER 142
#define IDD_HELP 143
#define IDD_CONTACT 144
#define IDD_MAIL_AOL_AND_CLIENT 161
#define IDD_MAIL_CLIENT 162
#define IDD_MAIL_AOL_ONLY 163
#define IDD_MAIL_NONE 164

// Icons, bitmaps and the cursor.
#define IDI_APPLICATION_ICON 107
#define IDI_INFORMATION_SIGN 161
#define IDB_TOOLBAR 131
#define IDB_BADGE 145
#define IDB_SPLASH 148
#define IDC_HAND_POINTER 159

// Menu and accelerator table of the main window.
#define IDR_MAIN_MENU 109
#define IDR_ACCELERATORS 109

// String table.
#define IDS_WINDOW_TITLE 103
#define IDS_MAIN_CLASS 109
#define IDS_PANORAMA_CLASS 110
#define IDS_HELP_OVERVIEW 112
#define IDS_HELP_FEATURES 113
#define IDS_HELP_DOWNLOADING 115
#define IDS_HELP_SHARING 116
#define IDS_HELP_SYSTEMS 117
#define IDS_HELP_CONTACT 118
#define IDS_ABOUT_MAKER_TITLE 119
#define IDS_ABOUT_MAKER_BUSINESS 120
#define IDS_ABOUT_MAKER_LEARN_MORE 121
#define IDS_ABOUT_MAKER_TERMS 122
#define IDS_ABOUT_MAKER_COPYRIGHT 123
#define IDS_ECOMMERCE_CLASS 124
#define IDS_ECOMMERCE_LOGO_CLASS 125
#define IDS_MAIL_SUBJECT 126
#define IDS_HELP_TRADEMARKS 129

// Commands.
#define CMD_ABOUT_TOUR 104
#define CMD_EXIT 105
#define CMD_ABOUT_MAKER 32771
#define CMD_HELP 32773
#define CMD_UNUSED_32774 32774
#define CMD_SEND_MENU 32775
#define CMD_CONTACT 32776
#define CMD_LOOK_LEFT 32777
#define CMD_STOP 32778
#define CMD_LOOK_RIGHT 32779
#define CMD_ZOOM_IN 32780
#define CMD_ZOOM_OUT 32781
#define CMD_CONTACT_BUTTON 32782
#define CMD_SEND 32783
#define CMD_UNUSED_32784 32784
#define CMD_UNUSED_32785 32785

// Child windows of the main window.
#define ID_TOOLBAR 131
#define ID_PANORAMA 10001
#define ID_STATUS 10002
#define ID_SCENE_LIST 10003
#define ID_LABEL 10004
#define ID_LISTING 10005
#define ID_PRESENTED_BY 10006
#define ID_PRESENTER_NAME 10007
#define ID_PRESENTER_COMPANY 10008
#define ID_SEPARATOR 10009
#define ID_ECOMMERCE_PANEL 10010
#define ID_ECOMMERCE_LOGO 10011

// Controls of the dialogs.
#define IDC_TEXT_BOX 1003
#define IDC_CONTACT_NAME 1015
#define IDC_CONTACT_COMPANY 1016
#define IDC_CONTACT_PHONE 1017
#define IDC_CONTACT_LISTING 1019
#define IDC_CONTACT_LOCATION 1020
#define IDC_CONTACT_EMAIL 1024
#define IDC_CONTACT_PRESENTED_BY 1025
#define IDC_DONT_SHOW_AGAIN 1028
#define IDC_MAIL_ICON 1029
// The Yes and No buttons of the mail warnings are the system's IDYES (6) and IDNO (7).

#endif  // VISTELLO_RESOURCES_RESOURCE_IDS_H
