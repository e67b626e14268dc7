// The detail sources and their pay-code and description rules.
#include "extraction/DetailSources.h"

#include <QVariantList>

#include "context/Errors.h"
#include "context/Table.h"
#include "context/UserInterface.h"

namespace tarno::extraction {
namespace {

// Rest-day types, compared exactly (case and blanks included), with their amount and count
// description numbers.
struct RestDayType {
  const char* type;
  const char* amountPrefix;
  const char* countPrefix;
};
constexpr RestDayType kRestDayTypes[] = {
    {"0.5D Day", "1050-", "9040-"}, {"1.0D Day", "1051-", "9041-"}, {"2.0D Day", "1052-", "9042-"},
    {"0.5LDay#", "1053-", "9043-"}, {"1.0LDay#", "1054-", "9044-"}, {"2.0LDay#", "1055-", "9045-"},
};

}  // namespace

DetailSources::DetailSources(ReportRowWriter& writer, db::Table& allowances, db::Table& shiftParameters,
                             int payYear)
    : m_writer(writer), m_allowances(allowances), m_shiftParameters(shiftParameters), m_payYear(payYear) {}

void DetailSources::SetProgress(int total, const QString& period) {
  m_progressTotal = total;
  m_period = period;
}

void DetailSources::Progress(const DetailRows& rows, int row) {
  ShowProgress(m_progressTotal, QStringLiteral("Processing Period: ") + m_period +
                                    QStringLiteral(" Employee# ") +
                                    rows.Text(row, QStringLiteral("EMPCODE")));
}

void DetailSources::Add(const DetailRows& rows, int row, const QString& payCode, const QString& description,
                        const QString& wageType, const QString& trxType, double rate, double amount) {
  ReportAmount c;
  c.empCode = rows.Text(row, QStringLiteral("EMPCODE"));
  c.period = rows.Text(row, QStringLiteral("PERIOD"));
  c.payCode = payCode;
  c.description = description;
  c.wageType = wageType;
  c.trxType = trxType;
  c.rate = rate;
  c.amount = amount;
  m_writer.AddReportAmount(c);
}

void DetailSources::AddGroupedAmounts(const DetailRows& rows, const QString& prefix,
                                      const QString& typeField) {
  // The check comes before each row, the first included; a stop ends only this loop.
  for (int row = 0; row < rows.Size() && StepProgress(); ++row) {
    Progress(rows, row);
    const QString payCode = prefix + QStringLiteral("-") + rows.Text(row, typeField);
    Add(rows, row, payCode, payCode, QStringLiteral("O"), QStringLiteral("D"), 0,
        rows.Number(row, QStringLiteral("AMOUNT")));
  }
}

void DetailSources::AddGroupedCounts(const DetailRows& rows, const QString& prefix,
                                     const QString& typeField) {
  for (int row = 0; row < rows.Size() && StepProgress(); ++row) {
    Progress(rows, row);
    const QString payCode = prefix + QStringLiteral("-") + rows.Text(row, typeField);
    Add(rows, row, payCode, payCode, QStringLiteral("O"), QStringLiteral("D"), 0,
        rows.Number(row, QStringLiteral("FREQUENCY")));
  }
}

void DetailSources::AddRestDay(const DetailRows& rows, bool counts) {
  for (int row = 0; row < rows.Size() && StepProgress(); ++row) {
    const QString type = rows.Text(row, QStringLiteral("RESTDAY_TYPE"));
    const RestDayType* known = nullptr;
    for (const RestDayType& candidate : kRestDayTypes)
      if (type == QLatin1String(candidate.type)) known = &candidate;
    if (known == nullptr) {
      // Such a row has no pay code of its own; adding it to whichever pay code came last would
      // corrupt that row, so it is left out and the operator told once per type and run.
      if (!m_warnedRestDayTypes.contains(type)) {
        m_warnedRestDayTypes.insert(type);
        ShowWarning(
            QStringLiteral("The rest-day type '%1' of P_DTRXRD (employee %2, period %3) is none of the six "
                           "known types; its rest-day rows are left out of the report.")
                .arg(type, rows.Text(row, QStringLiteral("EMPCODE")),
                     rows.Text(row, QStringLiteral("PERIOD"))));
      }
      continue;
    }
    const QString payCode = QLatin1String(counts ? known->countPrefix : known->amountPrefix) + type;
    Add(rows, row, payCode, payCode, QStringLiteral("O"), QStringLiteral("D"), 0,
        rows.Number(row, counts ? QStringLiteral("FREQUENCY") : QStringLiteral("AMOUNT")));
  }
}

void DetailSources::AddRestDayAmounts(const DetailRows& rows) {
  AddRestDay(rows, false);
}
void DetailSources::AddRestDayCounts(const DetailRows& rows) {
  AddRestDay(rows, true);
}

const DetailSources::AllowanceRecord* DetailSources::FindAllowance(const QString& code) {
  auto it = m_allowanceCache.find(code);
  if (it == m_allowanceCache.end()) {
    std::optional<AllowanceRecord> record;
    if (m_allowances.FindKey(QVariantList{m_payYear, code})) {
      AllowanceRecord r;
      r.isFund = m_allowances.FieldAsString(QStringLiteral("IS_FUND"));
      r.payCode = m_allowances.FieldAsString(QStringLiteral("PAYCODE"));
      r.description = m_allowances.FieldAsString(QStringLiteral("DESC"));
      r.trnnoText = m_allowances.FieldAsString(QStringLiteral("TRNNO"));
      try {
        r.trnno = m_allowances.FieldAsInteger(QStringLiteral("TRNNO"));
      } catch (const DatabaseError&) {
        // Only a deduction needs TRNNO as a number; it fails there, naming the code.
      }
      record = r;
    }
    it = m_allowanceCache.insert(code, record);
  }
  return it->has_value() ? &**it : nullptr;
}

void DetailSources::AddAllowanceRows(const DetailRows& rows) {
  for (int row = 0; row < rows.Size() && StepProgress(); ++row) {
    Progress(rows, row);
    const QString code = rows.Text(row, QStringLiteral("ALLW_DED_CODE"));
    const double amount = rows.Number(row, QStringLiteral("AMOUNT"));
    QString wageType = QStringLiteral("N");
    QString trxType = QStringLiteral("N");
    QString description = code;
    if (const AllowanceRecord* allowance = FindAllowance(code)) {
      wageType = allowance->isFund;
      trxType = allowance->payCode;
      if (code == QLatin1String("VOLEMPER"))
        description = QStringLiteral("8005-") + allowance->description;
      else if (code.startsWith(u'$'))
        description = QStringLiteral("1009-") + allowance->description;
      else if (code.startsWith(QLatin1String("@$")))
        description = QStringLiteral("5011-") + allowance->description;
      else if (amount > 0)
        description = allowance->trnnoText + QStringLiteral("-") + allowance->description;
      else if (allowance->trnno)
        description =
            QString::number(*allowance->trnno + 3500) + QStringLiteral("-") + allowance->description;
      else
        throw DatabaseError(
            QStringLiteral("The transaction number TRNNO '%1' of the deduction %2 in ALLOWNCE (year %3) "
                           "is not a whole number.")
                .arg(allowance->trnnoText, code)
                .arg(m_payYear));
    }
    Add(rows, row, code, description, wageType, trxType, 0, amount);
  }
}

void DetailSources::AddOvertimeRows(const DetailRows& rows) {
  for (int row = 0; row < rows.Size(); ++row) {
    const QString description = rows.Text(row, QStringLiteral("OT_DESC"));
    Add(rows, row, description, QStringLiteral("1044-") + description, QStringLiteral("A"),
        QStringLiteral("O"), rows.Number(row, QStringLiteral("OTRATE")),
        rows.Number(row, QStringLiteral("AMOUNT")));
    Add(rows, row, QStringLiteral("OTHRS") + description, QStringLiteral("8011-") + description,
        QStringLiteral("A"), QStringLiteral("O"), 0, rows.Number(row, QStringLiteral("FREQUENCY")));
  }
}

const DetailSources::ShiftRecord* DetailSources::FindShift(const QString& status) {
  auto it = m_shiftCache.find(status);
  if (it == m_shiftCache.end()) {
    std::optional<ShiftRecord> record;
    if (m_shiftParameters.FindKey(QVariantList{m_payYear, status}))
      record = ShiftRecord{m_shiftParameters.FieldAsString(QStringLiteral("PAYCODE")),
                           m_shiftParameters.FieldAsString(QStringLiteral("IS_FUND"))};
    it = m_shiftCache.insert(status, record);
  }
  return it->has_value() ? &**it : nullptr;
}

void DetailSources::AddShiftRows(const DetailRows& rows) {
  for (int row = 0; row < rows.Size(); ++row) {
    const QString status = rows.Text(row, QStringLiteral("SHIFT_STATUS"));
    const QString description = rows.Text(row, QStringLiteral("SHIFT_DESC"));
    const ShiftRecord* parameter = FindShift(status);
    if (parameter == nullptr) throw ValidationError(QStringLiteral("Unable to locate Shift Parameter!"));
    Add(rows, row, QStringLiteral("SHIFT") + status, QStringLiteral("1052-") + description, parameter->isFund,
        parameter->payCode, 0, rows.Number(row, QStringLiteral("AMOUNT")));
    Add(rows, row, QStringLiteral("SHIFTNO") + status, QStringLiteral("8012-") + description,
        parameter->isFund, parameter->payCode, 0, rows.Number(row, QStringLiteral("FREQUENCY")));
  }
}

void DetailSources::AddCpfWageRows(const DetailRows& rows) {
  if (rows.IsEmpty()) return;
  struct Figure {
    const char* field;
    const char* payCode;
    const char* description;
  };
  static constexpr Figure kFigures[] = {
      {"CPFOWWAGE", "ORD_WAGE", "8011-CPF ORDINARY WAGES"},
      {"CPFAWWAGE", "ADD_WAGE", "8012-CPF ADDITIONAL WAGES"},
      {"ACTUAL_AW_PAID", "ACT_AW", "8013-ACTUAL ADDITIONAL WAGES"},
  };
  for (const Figure& f : kFigures)
    Add(rows, 0, QLatin1String(f.payCode), QLatin1String(f.description), QStringLiteral("O"),
        QStringLiteral("D"), 0, rows.Number(0, QLatin1String(f.field)));
}

}  // namespace tarno::extraction
