// The allowance code mapping form: a grid over the allowance and deduction codes of the payroll
// year (query AdsQueryAW, live), where the operator picks each code's report group, stored in
// ALLOWNCE.PAYCODE2.
//
// Order of calls: construct -> FormShow (opens the query; its errors propagate to the caller) ->
// exec -> the form closes through FormCloseQuery, which posts a pending edit -> destroy.
#pragma once

#include <QDialog>
#include <memory>

#include "context/DataModule.h"
#include "context/Query.h"

class QTableView;

namespace Ui {
class TFormAW;
}

namespace tarno::mapping {

class AllowanceGridModel;
class PayCode2ComboDelegate;

class TFormAW : public QDialog {
  Q_OBJECT
 public:
  explicit TFormAW(TDataModule1& dataModule, QWidget* parent = nullptr);
  ~TFormAW() override;

  // Close the query, set YEAR to the decimal text of PayYear, open it, fill the grid.
  void FormShow();
  // Posts a pending edit (also one still in the open editor). True when the form may close;
  // false after an error of the post, which has been shown to the operator.
  bool FormCloseQuery();

  db::Query AdsQueryAW;

  QTableView* wwDBGrid1() const;
  AllowanceGridModel* GridModel() const { return m_model; }
  PayCode2ComboDelegate* wwDBComboBox1() const { return m_comboDelegate; }

  void done(int result) override;

 private:
  void GridRowChanged(const QModelIndex& current, const QModelIndex& previous);

  TDataModule1& m_dm;
  std::unique_ptr<Ui::TFormAW> m_ui;
  AllowanceGridModel* m_model = nullptr;
  PayCode2ComboDelegate* m_comboDelegate = nullptr;
};

}  // namespace tarno::mapping
