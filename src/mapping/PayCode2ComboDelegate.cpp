// The PAYCODE2 combo editor.
#include "mapping/PayCode2ComboDelegate.h"

#include <QComboBox>
#include <QLineEdit>

#include "mapping/PayCode2Choices.h"

namespace tarno::mapping {

QWidget* PayCode2ComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex&) const {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("wwDBComboBox1"));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMaxVisibleItems(8);
  for (const PayCode2Choice& choice : kPayCode2Choices)
    combo->addItem(QString::fromLatin1(choice.display), QString::fromLatin1(choice.stored));
  // Choosing from the list ends the edit at once, as a drop-down choice does.
  auto* self = const_cast<PayCode2ComboDelegate*>(this);
  connect(combo, &QComboBox::activated, self, [self, combo] {
    emit self->commitData(combo);
    emit self->closeEditor(combo);
  });
  m_openEditor = combo;
  return combo;
}

void PayCode2ComboDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* combo = qobject_cast<QComboBox*>(editor);
  if (combo == nullptr) return;
  const QString stored = index.data(Qt::EditRole).toString();
  const int item = combo->findData(stored);
  if (item >= 0) {
    combo->setCurrentIndex(item);
  } else {
    combo->setCurrentIndex(-1);
    combo->setEditText(stored);
  }
}

void PayCode2ComboDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const {
  auto* combo = qobject_cast<QComboBox*>(editor);
  if (combo == nullptr) return;
  model->setData(index, StoredPayCode2(combo->currentText()), Qt::EditRole);
}

void PayCode2ComboDelegate::CommitOpenEditor() {
  if (m_openEditor.isNull()) return;
  QComboBox* combo = m_openEditor;
  m_openEditor.clear();
  emit commitData(combo);
  emit closeEditor(combo);
}

}  // namespace tarno::mapping
