#include "app/RichTextBold.h"

#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

}  // namespace

int CountOccurrences(const QString& sub, const QString& text) {
  if (sub.isEmpty() || text.isEmpty()) {
    return 0;
  }
  const QString rest = QString(text).remove(sub);
  return static_cast<int>((text.size() - rest.size()) / sub.size());
}

void BoldFirstOccurrence(QTextEdit* re, const QString& phrase, int ajuste) {
  if (re == nullptr || phrase.isEmpty()) {
    return;
  }
  QString text = re->toPlainText();
  text.replace(QLatin1Char('\n'), kLineBreak);
  const qsizetype p = text.indexOf(phrase);
  if (p < 0) {
    return;
  }
  const qsizetype n = CountOccurrences(kLineBreak, text.left(p));
  // A line break inside the phrase is one character of the control, too.
  const qsizetype length = phrase.size() - CountOccurrences(kLineBreak, phrase);
  const qsizetype last = re->document()->characterCount() - 1;
  const qsizetype start = std::clamp<qsizetype>(p - n - ajuste, 0, last);
  const qsizetype end = std::clamp<qsizetype>(start + length, 0, last);

  QTextCursor cursor = re->textCursor();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.mergeCharFormat(bold);
  re->setTextCursor(cursor);
}

void MakeItBold(QTextEdit* re, QWidget* apanel, const QString& aString, int Ajuste) {
  if (re == nullptr) {
    return;
  }
  if (apanel != nullptr) {
    apanel->setEnabled(true);
  }
  BoldFirstOccurrence(re, aString, Ajuste);
  QTextCursor cursor = re->textCursor();
  cursor.clearSelection();
  re->setTextCursor(cursor);
  if (apanel != nullptr) {
    apanel->setEnabled(false);
  }
}
