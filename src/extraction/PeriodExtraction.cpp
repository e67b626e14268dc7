// The period extraction driver.
#include "extraction/PeriodExtraction.h"

#include "context/Connection.h"
#include "context/Errors.h"
#include "context/UserInterface.h"
#include "extraction/CycleSelection.h"

namespace tarno::extraction {
namespace {

std::size_t Slot(DetailKind kind) {
  return static_cast<std::size_t>(kind);
}

QString SourceName(DetailKind kind) {
  return QStringLiteral("the period's %1 statement").arg(DetailTableName(kind));
}

// The summary figures 1 to 14, in the order they are added; all with rate 0.
struct SummaryFigure {
  const char* field;
  const char* payCode;
  const char* description;
  const char* wageType;
  const char* trxType;
};
constexpr SummaryFigure kSummaryFigures[] = {
    {"NEW_SALARY", "BASESAL", "9101-NEW SALARY", "O", "P"},
    {"BANKAMT", "BANKAMT", "9102-GIRO PAYMENT ", "O", "P"},
    {"CHEQAMT", "CHEQAMT", "9103-CHEQUE PAYMENT", "O", "P"},
    {"CASHAMT", "CASHAMT", "9104-CASH PAYMENT", "O", "P"},
    {"BASIC", "BASIC", "1000-BASIC", "O", "P"},
    {"GROSS_WAGE", "GROSSAL", "5000-GROSS WAGE", "N", "Z"},
    {"CPFEMPEE", "CPFEE", "6001-CPF EMPLOYEE", "N", "E"},
    {"NETT_WAGE", "NETTSAL", "6002-NETT WAGE", "N", "Z"},
    {"CPF_WAGE", "CPFWAGE", "8014-CPF WAGE", "N", "Z"},
    {"CPFEMPER", "CPFER", "8003-CPF EMPLOYER", "N", "E"},
    {"VOLCPFEE", "VOLCPFEE", "8004-VOLUNTARY CPF EMPLOYEE", "N", "Z"},
    {"VOLCPFER", "VOLCPFER", "8005-VOLUNTARY CPF EMPLOYER", "N", "Z"},
    {"SDF", "SDF", "8006-SDF", "N", "S"},
    {"FWL", "FWL", "8007-FWL", "N", "D"},
};

}  // namespace

PeriodExtraction::PeriodExtraction(ExtractionComponents components, ExtractionContext context,
                                   DialogState& state, int firstYear, int lastYear)
    : m_c(components),
      m_context(std::move(context)),
      m_state(state),
      m_writer([&state] { return state.CostCentreBreakdown(); }),
      m_sources(m_writer, components.allowances, components.shiftParameters, m_context.payYear) {
  for (DetailKind kind : kComposeOrder) {
    auto query = std::make_unique<db::Query>(m_c.summary.connection());
    if (!m_context.tablePassword.isEmpty())
      query->SetTablePassword(DetailTableName(kind), m_context.tablePassword);
    query->SetSQL(PeriodDetailStatementLines(kind));
    m_periodQueries[Slot(kind)] = std::move(query);
  }
  if (firstYear > 0 && lastYear > 0)
    m_writer.Load(m_c.reportTable, QString::number(firstYear), QString::number(lastYear + 1));
  else
    m_writer.Load(m_c.reportTable, QString(), QString());
}

PeriodExtraction::~PeriodExtraction() = default;

db::Query& PeriodExtraction::DetailQuery(DetailKind kind) {
  switch (kind) {
    case DetailKind::NoPayDays:
      return m_c.noPayDays;
    case DetailKind::NoPayHours:
      return m_c.noPayHours;
    case DetailKind::Absence:
      return m_c.absence;
    case DetailKind::RestDay:
      return m_c.restDay;
    case DetailKind::Overtime:
      return m_c.overtime;
    case DetailKind::Shift:
      return m_c.shift;
    case DetailKind::CpfWage:
      return m_c.cpfWage;
    case DetailKind::Allowances:
      return m_c.allowanceRows;
  }
  return m_c.allowanceRows;
}

void PeriodExtraction::ComposeStatements() {
  for (DetailKind kind : kComposeOrder) {
    db::Query& query = DetailQuery(kind);
    query.Close();
    query.SetIndexFieldNames(QString());
    query.SetSQL(DetailStatementLines(kind));
    m_periodRows[Slot(kind)] = PeriodDetailRows();
  }
}

void PeriodExtraction::LoadCostCentres(const QString& period) {
  // One pass over COSTCTR per period instead of a range and a count per summary row; the table's
  // order (EMPCODE;PERIOD;COST_CENTRE) gives each employee's records by cost-centre code.
  m_costCentresOfPeriod.clear();
  db::Table& table = m_c.costCentres;
  table.CancelRange();
  table.First();
  while (!table.Eof()) {
    if (table.FieldAsString(QStringLiteral("PERIOD")) == period) {
      m_costCentresOfPeriod[table.FieldAsString(QStringLiteral("EMPCODE"))].push_back(
          CostCentreShare{table.FieldAsString(QStringLiteral("COST_CENTRE")),
                          table.FieldAsString(QStringLiteral("DEPARTMENT")),
                          Currency::FromDouble(table.FieldAsFloat(QStringLiteral("PERCENT")))});
    }
    table.Next();
  }
}

void PeriodExtraction::LoadDetails(const QString& period) {
  for (DetailKind kind : kOpenOrder) {
    db::Query& query = *m_periodQueries[Slot(kind)];
    query.Close();
    query.SetParam(QStringLiteral("PERIOD"), period);
    query.Open();
    m_periodRows[Slot(kind)].Load(query, SourceName(kind));
    query.Close();
  }
}

void PeriodExtraction::AddSummaryFigures(const QString& empCode, const QString& period) {
  db::Query& s = m_c.summary;
  ReportAmount c;
  c.empCode = empCode;
  c.period = period;
  for (const SummaryFigure& f : kSummaryFigures) {
    c.payCode = QLatin1String(f.payCode);
    c.description = QLatin1String(f.description);
    c.wageType = QLatin1String(f.wageType);
    c.trxType = QLatin1String(f.trxType);
    c.amount = s.FieldAsFloat(QLatin1String(f.field));
    m_writer.AddReportAmount(c);
  }
  const double gross = s.FieldAsFloat(QStringLiteral("GROSS_WAGE"));
  const double nett = s.FieldAsFloat(QStringLiteral("NETT_WAGE"));
  const double fwl = s.FieldAsFloat(QStringLiteral("FWL"));
  const double sdf = s.FieldAsFloat(QStringLiteral("SDF"));
  if (m_state.ShowHeadCount() && (gross != 0 || nett != 0 || fwl != 0 || sdf != 0)) {
    c.payCode = QStringLiteral("HCOUNT");
    c.description = QStringLiteral("9990-HeadCount");
    c.wageType = QStringLiteral("O");
    c.trxType = QStringLiteral("P");
    c.amount = 1;
    m_writer.AddReportAmount(c);
  }
  if (gross != 0 || nett != 0) {
    c.payCode = QStringLiteral("PAYDAY");
    c.description = QStringLiteral("9991-WORKING DAY");
    c.wageType = QStringLiteral("N");
    c.trxType = QStringLiteral("D");
    c.amount = s.FieldAsFloat(QStringLiteral("PAYDAY"));
    m_writer.AddReportAmount(c);
  }
}

void PeriodExtraction::BuildPeriodHistory(const QString& period) {
  const QString cycles =
      BuildCycleSelection(m_state.CycleIndex(), m_state.IncludedSpecial(), m_state.IncludedBonus());

  m_c.costCentres.Close();
  m_c.costCentres.Open();
  LoadCostCentres(period);

  ComposeStatements();

  db::Query& summary = m_c.summary;
  summary.Close();
  summary.SetSQL(SummaryStatementLines(m_context.historyCondition1, m_context.historyCondition2));
  summary.SetParam(QStringLiteral("PERIOD"), period);
  summary.SetParam(QStringLiteral("USERID"), m_context.userId);
  for (int i = 0; i < 4; ++i) summary.SetParam(QStringLiteral("CYCLE%1").arg(i + 1), cycles.mid(i, 1));
  summary.Open();
  const int total = summary.RecordCount();
  summary.First();
  m_sources.SetProgress(total, period);

  bool detailsLoaded = false;
  while (!summary.Eof() && StepProgress()) {
    const QString empCode = summary.FieldAsString(QStringLiteral("EMPCODE"));
    ShowProgress(total,
                 QStringLiteral("Processing Period: ") + period + QStringLiteral(" Employee# ") + empCode);
    m_writer.SetCostCentres(m_costCentresOfPeriod.value(empCode));
    const QString cycle = summary.FieldAsString(QStringLiteral("CYCLE"));
    AddSummaryFigures(empCode, summary.FieldAsString(QStringLiteral("PERIOD")));

    // The detail rows are read when the first summary row needs them, in the order in which the
    // per-employee statements are opened, so a failing statement fails at the same point.
    if (!detailsLoaded) {
      LoadDetails(period);
      detailsLoaded = true;
    }
    const auto rows = [&](DetailKind kind) -> const DetailRows& {
      return m_periodRows[Slot(kind)].Of(empCode, cycle);
    };
    m_sources.AddGroupedAmounts(rows(DetailKind::NoPayDays), QStringLiteral("5003"),
                                QStringLiteral("NPL_DAY_TYPE"));
    m_sources.AddGroupedAmounts(rows(DetailKind::NoPayHours), QStringLiteral("5004"),
                                QStringLiteral("NPL_HOUR_TYPE"));
    m_sources.AddGroupedAmounts(rows(DetailKind::Absence), QStringLiteral("5005"),
                                QStringLiteral("ABSENT_TYPE"));
    m_sources.AddRestDayAmounts(rows(DetailKind::RestDay));
    m_sources.AddAllowanceRows(rows(DetailKind::Allowances));
    m_sources.AddOvertimeRows(rows(DetailKind::Overtime));
    m_sources.AddShiftRows(rows(DetailKind::Shift));
    m_sources.AddCpfWageRows(rows(DetailKind::CpfWage));
    m_sources.AddGroupedCounts(rows(DetailKind::NoPayDays), QStringLiteral("9001"),
                               QStringLiteral("NPL_DAY_TYPE"));
    m_sources.AddGroupedCounts(rows(DetailKind::NoPayHours), QStringLiteral("9002"),
                               QStringLiteral("NPL_HOUR_TYPE"));
    m_sources.AddGroupedCounts(rows(DetailKind::Absence), QStringLiteral("9003"),
                               QStringLiteral("ABSENT_TYPE"));
    m_sources.AddRestDayCounts(rows(DetailKind::RestDay));
    summary.Next();
  }
}

int PeriodExtraction::Flush() {
  return m_writer.Flush(m_c.summary.connection(), m_context.tablePassword);
}

}  // namespace tarno::extraction
