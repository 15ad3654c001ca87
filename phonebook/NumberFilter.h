#pragma once
// What the phone book page's number boxes take from the user: digits and parentheses, at most 20,
// whichever way the text comes (typed, pasted, dropped, composed by an input method). Any other
// character has no effect. Text the page itself puts into a box is shown as it is.

class QLineEdit;

namespace phonebook {

void InstallNumberFilter(QLineEdit* box, int maxLength);

}  // namespace phonebook
