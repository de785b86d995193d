#include "main_window/memo_field.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "base/memo_text.h"

QComboBox* NewMemoField(const QString& objectName, QWidget* parent) {
  auto* field = new QComboBox(parent);
  field->setObjectName(objectName);
  field->setEditable(true);
  field->setInsertPolicy(QComboBox::NoInsert);
  field->lineEdit()->setMaxLength(kMemoMaxLength);
  return field;
}

void ShowMemoChoices(QComboBox& field, const QString& memo, const QStringList& recent) {
  const QSignalBlocker quiet(&field);
  const QString typed = field.currentText();
  QStringList items;
  for (int i = 0; i < field.count(); ++i) items << field.itemText(i);
  if (items != recent) {
    field.clear();
    field.addItems(recent);
    field.setCurrentIndex(-1);  // none chosen: the arrow key offers the newest first
  }
  field.setEditText(MemoText(typed) == memo ? typed : memo);
}
