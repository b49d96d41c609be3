/* Identifiers shared by quorrin.rc and the code. Plain #defines only,
   because windres reads this file through the C preprocessor. */
#ifndef QUORRIN_RESOURCE_IDS_H
#define QUORRIN_RESOURCE_IDS_H

#define IDI_QUORRIN 1

/* Main window */
#define IDD_MAIN 1000
#define IDC_ERROR_FIELD 1001
#define IDC_STATUS 1002
#define IDC_CODE 1003
#define IDC_FACILITY 1004
#define IDC_DESCRIPTION 1005
#define IDC_NOTE_EDITOR 1006
#define IDC_SAVE_NOTE 1007
#define IDC_DELETE_NOTE 1008
#define IDC_LOOKUP 1009
#define IDC_ERROR_LABEL 1010
#define IDC_TOP_RULE 1011
#define IDC_STATUS_LABEL 1012
#define IDC_CODE_LABEL 1013
#define IDC_FACILITY_LABEL 1014
#define IDC_NOTE_LABEL 1015
#define IDC_NOTE_RULE 1016

/* Commands added to the main window's system menu */
#define IDM_ON_TOP 0
#define IDM_BROWSE_NOTES 1
#define IDM_ABOUT 2

/* About box */
#define IDD_ABOUT 2000
#define IDC_ABOUT_NAME 2001
#define IDC_ABOUT_VERSION 2002
#define IDC_ABOUT_DESCRIPTION 2003
#define IDC_ABOUT_WEB 2004
#define IDC_ABOUT_MAIL 2005
#define IDC_ABOUT_HAND 2006
#define IDC_ABOUT_QUESTION 2007
#define IDC_ABOUT_EXCLAMATION 2008
#define IDC_ABOUT_ASTERISK 2009
#define IDC_ABOUT_RULE 2010

/* Note Browser */
#define IDD_BROWSER 3000
#define IDC_BROWSER_DELETE 3001
#define IDC_BROWSER_SAVE 3002
#define IDC_BROWSER_EDITOR 3003
#define IDC_BROWSER_LIST 3004

#endif
