// The allowance code mapping form: its query, grid set-up, and the posting of edits when the grid
// leaves a row or the form closes.
#include "mapping/TFormAW.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>

#include "context/Errors.h"
#include "context/UserInterface.h"
#include "mapping/AllowanceGridModel.h"
#include "mapping/PayCode2ComboDelegate.h"
#include "ui_TFormAW.h"

namespace tarno::mapping {

TFormAW::TFormAW(TDataModule1& dataModule, QWidget* parent)
    : QDialog(parent),
      AdsQueryAW(dataModule.AdsConnection1),
      m_dm(dataModule),
      m_ui(std::make_unique<Ui::TFormAW>()) {
  // The designed font family does not exist here; its metric twin does.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  m_ui->setupUi(this);
  setObjectName(QStringLiteral("FormAW"));

  AdsQueryAW.SetRequestLive(true);
  // The statement selects no YEAR and its WHERE fixes it, so ALLOW_CODE alone gives the order that
  // "ALLOW_CODE;YEAR" would; an order field outside the result is refused by the dataset layer.
  AdsQueryAW.SetIndexFieldNames(QStringLiteral("ALLOW_CODE"));
  AdsQueryAW.SetSQL({QStringLiteral("SELECT  ALLOW_CODE,\"DESC\",PAYCODE2"), QStringLiteral("FROM ALLOWNCE "),
                     QStringLiteral("WHERE \"YEAR\"=:YEAR")});

  m_model = new AllowanceGridModel(AdsQueryAW, this);
  m_comboDelegate = new PayCode2ComboDelegate(this);
  QTableView* grid = m_ui->wwDBGrid1;
  grid->setModel(m_model);
  grid->setItemDelegateForColumn(AllowanceGridModel::kPayCode2, m_comboDelegate);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setStretchLastSection(false);
  // Widths in characters of the grid's font; a title wider than its column still shows whole.
  const QFontMetrics metrics(grid->font());
  for (int column = 0; column < m_model->columnCount(); ++column) {
    const int byCharacters = AllowanceGridModel::WidthInCharacters(column) * metrics.averageCharWidth();
    const int byTitle = metrics.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString());
    grid->setColumnWidth(column, std::max(byCharacters, byTitle) + 8);
  }
  grid->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
  connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFormAW::GridRowChanged);
  connect(m_ui->BitBtn2, &QPushButton::clicked, this, &QDialog::close);

  // Centred on the screen.
  if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

TFormAW::~TFormAW() = default;

QTableView* TFormAW::wwDBGrid1() const {
  return m_ui->wwDBGrid1;
}

void TFormAW::FormShow() {
  AdsQueryAW.Close();
  AdsQueryAW.SetParam(QStringLiteral("YEAR"), QString::number(m_dm.Context.PayYear()));
  AdsQueryAW.Open();
  m_model->Reload();
}

bool TFormAW::FormCloseQuery() {
  m_comboDelegate->CommitOpenEditor();
  try {
    m_model->PostPendingEdit();
  } catch (const Error& e) {
    CurrentUserInterface().ShowError(e.Text());
    return false;
  }
  return true;
}

void TFormAW::done(int result) {
  // Close button, close box and Escape all end here; a failed post keeps the form open.
  if (!FormCloseQuery()) return;
  QDialog::done(result);
}

void TFormAW::GridRowChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (!previous.isValid() || current.row() == previous.row() || m_model->PendingRow() != previous.row())
    return;
  try {
    m_model->PostPendingEdit();
  } catch (const Error& e) {
    CurrentUserInterface().ShowError(e.Text());
  }
}

}  // namespace tarno::mapping
