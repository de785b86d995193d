#include "base/memo_text.h"

#include "base/cp932.h"

QString MemoText(const QString& typed) {
  QString kept;
  for (const QChar c : typed) {
    if (c == u'\r' || c == u'\n' || c == u'\t') {
      kept += u' ';
    } else if (c.isSurrogate() || c.category() == QChar::Other_Control || !FitsCp932(QString(c))) {
      // A surrogate pair is one character the player typed: one "?".
      if (!c.isLowSurrogate()) kept += u'?';
    } else {
      kept += c;
    }
  }
  return kept.trimmed().left(kMemoMaxLength).trimmed();
}

QStringList WithRecentMemo(const QStringList& recent, const QString& memo) {
  if (memo.isEmpty()) return recent;
  QStringList list{memo};
  for (const QString& m : recent) {
    if (m != memo && list.size() < kRecentMemoCount) list << m;
  }
  return list;
}
