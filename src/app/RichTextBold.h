#pragma once

#include <QString>

class QTextEdit;
class QWidget;

// The number of occurrences of a non-empty `sub` in `text`, counted the way
// removing every occurrence shortens the text; 0 when either is empty.
int CountOccurrences(const QString& sub, const QString& text);

// Sets bold the first occurrence of `phrase` in the control's text, found in
// the text with CR LF line breaks and moved back by the line breaks before it
// (the control counts a line break as one character) and by `ajuste`. A
// phrase that does not occur, or an empty one, changes nothing.
void BoldFirstOccurrence(QTextEdit* re, const QString& phrase, int ajuste);

// Bolds a phrase in another screen's rich text: the panel that holds it is
// enabled while the text is changed and disabled again afterwards, with the
// selection collapsed, so that the user cannot click into the text.
void MakeItBold(QTextEdit* re, QWidget* apanel, const QString& aString, int Ajuste);
