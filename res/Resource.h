#pragma once
// Resource identifiers: dialog templates, controls, commands, strings and icons.

namespace res {

// Dialog templates.
inline constexpr int IDD_FORMVIEW = 130;
inline constexpr int IDD_PHONEBOOK = 102;
inline constexpr int IDD_PHONEBOOK_NOKIA = 202;

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

// Icons.
inline constexpr int IDI_CONTACT = 129;

}  // namespace res
