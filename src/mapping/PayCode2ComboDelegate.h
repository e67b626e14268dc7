// wwDBComboBox1: the PAYCODE2 editor of the grid, an editable drop-down that shows only while a
// cell is edited. It lists the report groups by their display text, eight lines at a time; the
// model receives the stored value of the chosen entry, or a typed text as typed.
#pragma once

#include <QComboBox>
#include <QPointer>
#include <QStyledItemDelegate>

namespace tarno::mapping {

class PayCode2ComboDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

  // The combo of the cell being edited, or null.
  QComboBox* OpenEditor() const { return m_openEditor; }
  // Hands the open editor's text to the model and closes it (the form does this before it closes,
  // so that a change still in the editor is not lost).
  void CommitOpenEditor();

 private:
  mutable QPointer<QComboBox> m_openEditor;
};

}  // namespace tarno::mapping
