#pragma once
// Resource identifiers: dialog templates, controls, commands, strings and icons.

namespace res {

// Dialog templates.
inline constexpr int IDD_ABOUT = 132;
inline constexpr int IDD_PHONEBOOK = 102;
inline constexpr int IDD_PHONEBOOK_NOKIA = 202;
inline constexpr int IDD_INBOX = 142;
inline constexpr int IDD_INBOX_MESSAGE = 143;
inline constexpr int IDD_OUTBOX = 144;
inline constexpr int IDD_OUTBOX_MESSAGE = 145;

// No identifier: labels and frames the program never addresses.
inline constexpr int IDC_STATIC = -1;

// Phone book pages.
inline constexpr int IDC_CONTACT_LIST = 1000;
inline constexpr int IDC_MEMORY = 1003;
inline constexpr int IDC_HOME = 1005;
inline constexpr int IDC_WORK = 1008;
inline constexpr int IDC_MOBILE = 1009;
inline constexpr int IDC_FAX = 1010;
inline constexpr int IDC_OTHER = 1011;
inline constexpr int IDC_HOME_LABEL = 1013;
inline constexpr int IDC_WORK_LABEL = 1014;
inline constexpr int IDC_MOBILE_LABEL = 1015;
inline constexpr int IDC_FAX_LABEL = 1016;
inline constexpr int IDC_OTHER_LABEL = 1017;  // the Nokia page's fifth label
inline constexpr int IDC_MEMORY_LABEL = 1018;

// Inbox page and message view.
inline constexpr int IDC_INBOX_LIST = 1015;
inline constexpr int IDC_INBOX_EXPORT = 1016;
inline constexpr int IDC_INBOX_IMPORT = 1018;
inline constexpr int IDC_VIEW_EXIT = 1004;
inline constexpr int IDC_VIEW_TEXT = 1013;
inline constexpr int IDC_VIEW_SENDER = 1019;
inline constexpr int IDC_VIEW_NUMBER = 1020;
inline constexpr int IDC_VIEW_DATE = 1021;
inline constexpr int IDC_VIEW_MORE = 1023;
inline constexpr int IDC_VIEW_REPLY_PATH = 1024;
inline constexpr int IDC_REPLY = 1025;
inline constexpr int IDC_FORWARD = 1026;

// Outbox page and compose dialog.
inline constexpr int IDC_OUTBOX_LIST = 1027;
inline constexpr int IDC_OUTBOX_EXPORT = 1028;
inline constexpr int IDC_OUTBOX_IMPORT = 1029;
inline constexpr int IDC_COMPOSE_EXIT = 1005;
inline constexpr int IDC_TITLE = 1007;
inline constexpr int IDC_MESSAGE = 1014;
inline constexpr int IDC_RECIPIENT = 1030;
inline constexpr int IDC_VALIDITY = 1031;
inline constexpr int IDC_ABSOLUTE = 1032;
inline constexpr int IDC_DELIVER_REPORT = 1033;
inline constexpr int IDC_REPLY_PATH = 1034;
inline constexpr int IDC_SEND = 1035;
inline constexpr int IDC_SAVE_SEND = 1036;
inline constexpr int IDC_RELATIVE = 1037;
inline constexpr int IDC_YEAR = 1038;
inline constexpr int IDC_MONTH = 1039;
inline constexpr int IDC_DAY = 1040;
inline constexpr int IDC_VALIDITY_GROUP = 1042;

// About page.
inline constexpr int IDC_ABOUT_TITLE = 1007;

// Port chooser.
inline constexpr int IDD_PORT_CHOOSER = 150;
inline constexpr int IDC_PORT_LIST = 1050;
inline constexpr int IDC_PORT_PATH = 1051;
inline constexpr int IDC_PORT_PROBE = 1052;
inline constexpr int IDC_PORT_REFRESH = 1053;
inline constexpr int IDC_PORT_PATH_LABEL = 1054;
inline constexpr int IDC_PORT_NOTE = 1055;
inline constexpr int IDC_PORT_OK = 1;      // IDOK
inline constexpr int IDC_PORT_CANCEL = 2;  // IDCANCEL

// Commands of the menu, the tool bar and the accelerators.
inline constexpr int ID_CONNECT = 32771;
inline constexpr int ID_DISCONNECT = 32772;
inline constexpr int ID_DELETE = 32775;
inline constexpr int ID_ADD_USER = 32777;
inline constexpr int ID_GET_DATA = 32778;
inline constexpr int ID_SAVE_DATA = 32785;
inline constexpr int ID_SEND_MESSAGE = 32786;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_CHOOSE_PHONE = 32790;
// The tool bar's own commands.
inline constexpr int ID_TB_CONNECT = 32780;
inline constexpr int ID_TB_SAVE_DATA = 32779;
inline constexpr int ID_TB_GET_DATA = 2003;
inline constexpr int ID_TB_ADD_USER = 32781;
inline constexpr int ID_TB_DELETE = 32782;

// Strings.
inline constexpr int IDS_TITLE = 65009;
inline constexpr int IDS_CONNECT = 65010;
inline constexpr int IDS_GET_DATA = 65011;
inline constexpr int IDS_SAVE_DATA = 65012;
inline constexpr int IDS_ADD_USER = 65013;
inline constexpr int IDS_DELETE_USER = 65014;
inline constexpr int IDS_DISCONNECT = 65017;

// Icons and the frame's menu, tool bar and accelerators.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_CONTACT = 129;
// The tool bar's pictures, in button order.
inline constexpr int IDB_TB_CONNECT = 140;
inline constexpr int IDB_TB_SAVE_DATA = 141;
inline constexpr int IDB_TB_GET_DATA = 142;
inline constexpr int IDB_TB_ADD_USER = 143;
inline constexpr int IDB_TB_DELETE = 144;
// The Connect/Disconnect button while connected, and the pictures of menu commands that have no
// button.
inline constexpr int IDI_DISCONNECT = 145;
inline constexpr int IDI_SEND = 146;
inline constexpr int IDI_EXIT = 147;

}  // namespace res
