// The report dialog's widgets, defaults and button handlers. Every database step is the
// ReportSession's; this file only fills and reads the controls.
#include "dialog/TmyEndUserSolution.h"

#include <QButtonGroup>
#include <QFont>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/UserInterface.h"
#include "costing/CostingPreviewDialog.h"
#include "dialog/ReportSession.h"
#include "mapping/AllowanceMapping.h"
#include "ui_TmyEndUserSolution.h"

namespace tarno {
namespace {

// The panel colour of the button bar (red 240, green 202, blue 166).
const QColor kPanelColour(240, 202, 166);

void FillMappedItems(QComboBox* combo, int maxLength) {
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMaxVisibleItems(8);
  if (maxLength > 0) combo->lineEdit()->setMaxLength(maxLength);
}

}  // namespace

TmyEndUserSolution::TmyEndUserSolution(TDataModule1& dataModule, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TmyEndUserSolution>()), m_dataModule(dataModule) {
  // The form's font has no installed face on this platform; Liberation Sans has its metrics.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  ui->setupUi(this);
  setFixedSize(size());

  m_cycleGroup = new QButtonGroup(this);
  const QList<QRadioButton*> cycleItems = {ui->RadioGroupCycleItem0, ui->RadioGroupCycleItem1,
                                           ui->RadioGroupCycleItem2, ui->RadioGroupCycleItem3,
                                           ui->RadioGroupCycleItem4, ui->RadioGroupCycleItem5};
  for (int i = 0; i < cycleItems.size(); ++i) m_cycleGroup->addButton(cycleItems[i], i);
  ui->RadioGroupCycleItem4->setChecked(true);

  FillMappedItems(ui->wwDBLookupComboPrd1, 6);
  FillMappedItems(ui->wwDBLookupComboPrd2, 6);
  FillMappedItems(ui->wwDBComboBox1, 0);
  for (const ReportKindItem& item : kReportKinds)
    ui->wwDBComboBox1->addItem(QString::fromLatin1(item.displayText), QString::fromLatin1(item.templateName));
  ui->wwDBComboBox1->setCurrentIndex(0);

  QPalette panel = ui->Panel1->palette();
  panel.setColor(QPalette::Window, kPanelColour);
  ui->Panel1->setPalette(panel);
  ui->Panel1->setAutoFillBackground(true);
  ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  ui->BitBtn4->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

  connect(ui->BitBtn1, &QPushButton::clicked, this, &TmyEndUserSolution::BitBtn1Click);
  connect(ui->BitBtn4, &QPushButton::clicked, this, &TmyEndUserSolution::BitBtn4Click);
  connect(ui->BitBtn3, &QPushButton::clicked, this, &TmyEndUserSolution::BitBtn3Click);
  connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  m_session = std::make_unique<ReportSession>(dataModule, *this);
}

TmyEndUserSolution::~TmyEndUserSolution() = default;

QComboBox* TmyEndUserSolution::ReportKindCombo() const {
  return ui->wwDBComboBox1;
}

void TmyEndUserSolution::FormShow() {
  // Checked first: a month without a list item must not empty the report table either.
  const int payMonth = m_dataModule.Context.PayMonth();
  if (payMonth < 1 || payMonth > 12)
    throw ValidationError(
        QStringLiteral("The payroll month %1 is not a month from 1 to 12: no current period can be selected.")
            .arg(payMonth));
  m_session->FormShow();
  // Filled once per showing: a second FormShow starts the lists again instead of doubling them.
  ui->wwDBLookupComboPrd1->clear();
  ui->wwDBLookupComboPrd2->clear();
  for (const QString& period : PeriodListOfYear(m_dataModule.Context.PayYear())) {
    ui->wwDBLookupComboPrd1->addItem(period, period);
    ui->wwDBLookupComboPrd2->addItem(period, period);
  }
  ui->wwDBLookupComboPrd1->setCurrentIndex(payMonth - 1);
  ui->wwDBLookupComboPrd2->setCurrentIndex(payMonth - 1);
}

QString TmyEndUserSolution::PeriodFromText() const {
  return ui->wwDBLookupComboPrd1->currentText();
}
QString TmyEndUserSolution::PeriodToText() const {
  return ui->wwDBLookupComboPrd2->currentText();
}
int TmyEndUserSolution::CycleIndex() const {
  return m_cycleGroup->checkedId();
}
bool TmyEndUserSolution::IncludedSpecial() const {
  return ui->SpecBox->isChecked();
}
bool TmyEndUserSolution::IncludedBonus() const {
  return ui->BonusBox->isChecked();
}
bool TmyEndUserSolution::ShowHeadCount() const {
  return ui->chkHead->isChecked();
}
bool TmyEndUserSolution::CostCentreBreakdown() const {
  return ui->CheckBoxCTR->isChecked();
}
bool TmyEndUserSolution::ExportCsv() const {
  return ui->chkcsv->isChecked();
}

int TmyEndUserSolution::ReportKind() const {
  // The item whose display text is shown; a typed text that matches none is -1.
  return ui->wwDBComboBox1->findText(ui->wwDBComboBox1->currentText(),
                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
}

QString TmyEndUserSolution::ReportKindText() const {
  return ui->wwDBComboBox1->currentText();
}

QString TmyEndUserSolution::ReportKindValue() const {
  const int kind = ReportKind();
  return kind < 0 ? QString() : ui->wwDBComboBox1->itemData(kind).toString();
}

void TmyEndUserSolution::SetRunButtonsEnabled(bool enabled) {
  ui->BitBtn1->setEnabled(enabled);
  ui->BitBtn4->setEnabled(enabled);
}

void TmyEndUserSolution::RunGuarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const Error& e) {
    CurrentUserInterface().ShowError(e.Text());
  } catch (const std::exception& e) {
    CurrentUserInterface().ShowError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    CurrentUserInterface().ShowError(QStringLiteral("An unexpected error ended the operation."));
  }
}

void TmyEndUserSolution::RunWithRunButtonsDisabled(const std::function<void()>& run) {
  RunGuarded([this, &run] {
    SetRunButtonsEnabled(false);
    // However the run ends, the progress window is closed and the buttons enabled again, so that
    // a failed run can be corrected and repeated.
    struct EnableAgain {
      TmyEndUserSolution* dialog;
      ~EnableAgain() {
        CloseProgress();
        dialog->SetRunButtonsEnabled(true);
      }
    } enableAgain{this};
    run();
  });
}

void TmyEndUserSolution::BitBtn1Click() {
  RunWithRunButtonsDisabled([this] {
    m_session->RunReport(QStringLiteral("XLS"));
    // The outputs offered their files to the operator already; the launcher's list is not needed.
    TakeWrittenFiles();
  });
}

void TmyEndUserSolution::BitBtn4Click() {
  RunWithRunButtonsDisabled([this] {
    if (!m_session->AdsTableCode.IsOpen()) m_session->AdsTableCode.Open();
    m_session->RunReport(QStringLiteral("rpt"));
    costing::ShowCostingPreview(*m_session, this);
  });
}

void TmyEndUserSolution::BitBtn3Click() {
  RunGuarded([this] { mapping::RunAllowanceMapping(m_dataModule, this); });
}

void TmyEndUserSolution::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // Panel1 is aligned to the bottom edge over the whole width.
  ui->Panel1->setGeometry(0, height() - ui->Panel1->height(), width(), ui->Panel1->height());
}

}  // namespace tarno
