// The report row writer over the run's in-memory working set of RPTRX rows.
#include "extraction/ReportRowWriter.h"

#include <algorithm>
#include <tuple>

#include "context/Connection.h"
#include "context/Dataset.h"
#include "context/Errors.h"
#include "context/FieldValues.h"
#include "context/Query.h"
#include "context/TextUtils.h"

namespace tarno::extraction {
namespace {

QString GroupKey(const QString& empCode, const QString& payCode) {
  return empCode + QChar(0x1f) + payCode;
}

// Key texts compare without their trailing blanks, as the table's keys do.
QString KeyText(const QString& text) {
  return db::detail::WithoutTrailingBlanks(text);
}

// Empty key texts are stored as '' rather than NULL, so that keyed statements find them.
QVariant KeyValue(const QString& text) {
  return text.isNull() ? QVariant(QString("")) : QVariant(text);
}
QVariant KeyValue(const QVariant& stored) {
  return stored.isNull() ? QVariant(QString("")) : stored;
}

QString TwoDigits(int month) {
  return QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
}

// The month in characters 5 and 6 of a period; a period without one ends the write here, after
// the period's own row, before any later month.
int MonthOfPeriod(const QString& period) {
  bool ok = false;
  const int month = SubText(period, 5, 2).toInt(&ok);
  if (!ok)
    throw DatabaseError(
        QStringLiteral("The period '%1' of a report row has no month number in its characters 5 and 6, so "
                       "its later months cannot be written.")
            .arg(period));
  return month;
}

}  // namespace

ReportRowWriter::ReportRowWriter(std::function<bool()> costCentreBreakdown)
    : m_costCentreBreakdown(std::move(costCentreBreakdown)) {}

ReportRowWriter::~ReportRowWriter() = default;

ReportRowWriter::Group& ReportRowWriter::GroupOf(const QString& empCode, const QString& payCode) {
  const QString key = GroupKey(empCode, payCode);
  auto it = m_groups.find(key);
  if (it == m_groups.end()) {
    it = m_groups.insert(key, Group{empCode, payCode, {}});
  }
  return it.value();
}

void ReportRowWriter::Load(db::Dataset& rptrx, const QString& lowPeriod, const QString& highPeriod) {
  rptrx.First();
  while (!rptrx.Eof()) {
    const QString period = rptrx.FieldAsString(QStringLiteral("PERIOD"));
    if ((lowPeriod.isEmpty() || period >= lowPeriod) && (highPeriod.isEmpty() || period < highPeriod)) {
      Group& group = GroupOf(rptrx.FieldAsString(QStringLiteral("EMPCODE")),
                             rptrx.FieldAsString(QStringLiteral("PAYCODE")));
      Row row;
      row.period = period;
      row.costCentre = rptrx.FieldAsString(QStringLiteral("COSTCENTRE_CODE"));
      row.department = rptrx.FieldAsString(QStringLiteral("DEPT_CODE"));
      row.description = rptrx.FieldAsString(QStringLiteral("DESCRIPTION"));
      row.trxType = rptrx.FieldAsString(QStringLiteral("TRX_TYPE"));
      row.wageType = rptrx.FieldAsString(QStringLiteral("WAGE_TYPE"));
      row.amount = rptrx.FieldAsCurrency(QStringLiteral("AMOUNT"));
      row.ytdAmount = rptrx.FieldAsCurrency(QStringLiteral("YTDAMOUNT"));
      row.hasRate = !rptrx.FieldIsNull(QStringLiteral("RATE"));
      row.rate = rptrx.FieldAsCurrency(QStringLiteral("RATE"));
      row.stored = true;
      row.storedKey = std::make_shared<StoredKey>(StoredKey{
          rptrx.FieldValue(QStringLiteral("EMPCODE")), rptrx.FieldValue(QStringLiteral("PAYCODE")),
          rptrx.FieldValue(QStringLiteral("PERIOD")), rptrx.FieldValue(QStringLiteral("COSTCENTRE_CODE")),
          rptrx.FieldValue(QStringLiteral("DEPT_CODE"))});
      const auto keyOf = [](const Row& r) { return std::tie(r.period, r.costCentre, r.department); };
      auto at = std::upper_bound(group.rows.begin(), group.rows.end(), row,
                                 [&](const Row& a, const Row& b) { return keyOf(a) < keyOf(b); });
      group.rows.insert(at, std::move(row));
      ++m_rowCount;
    }
    rptrx.Next();
  }
}

void ReportRowWriter::SetCostCentres(std::vector<CostCentreShare> records) {
  m_costCentres = std::move(records);
}

void ReportRowWriter::AddReportAmount(const ReportAmount& contribution) {
  // Amounts are stored to four decimals: one that rounds to zero is a zero amount.
  if (Currency::FromDouble(contribution.amount).IsZero()) return;
  if (m_costCentreBreakdown())
    SplitByCostCentre(contribution);
  else
    AddToReportRow(contribution);
}

void ReportRowWriter::AddToReportRow(const ReportAmount& contribution) {
  WriteRow(contribution, nullptr, nullptr);
}

void ReportRowWriter::SplitByCostCentre(const ReportAmount& contribution) {
  const Currency amount = Currency::FromDouble(contribution.amount);
  const std::size_t splitCount = m_costCentres.size();
  Currency allocated;
  std::size_t splitIndex = 1;
  for (const CostCentreShare& record : m_costCentres) {
    Currency share;
    if (splitIndex == splitCount) {
      // The last cost centre takes the exact remainder, so the shares add up to the amount
      // whatever the percentages and the rounding did.
      share = amount - allocated;
    } else {
      const long double exact = static_cast<long double>(amount.Units()) / Currency::kScale *
                                (static_cast<long double>(record.percent.Units()) / Currency::kScale) /
                                100.0L;
      share = Currency::FromDouble(RoundDecimals(2, exact));
    }
    allocated += share;
    ++splitIndex;
    ReportAmount part = contribution;
    part.amount = share.ToDouble();
    AddToCostCentreRow(part, record.costCentre, record.department);
  }
}

void ReportRowWriter::AddToCostCentreRow(const ReportAmount& contribution, const QString& costCentre,
                                         const QString& department) {
  if (Currency::FromDouble(contribution.amount).IsZero()) return;
  const QString cc = KeyText(costCentre);
  const QString dept = KeyText(department);
  WriteRow(contribution, &cc, &dept);
}

Currency ReportRowWriter::EarlierPeriodsTotal(const Group& group, const QString& yearStart,
                                              const QString& period, const QString* costCentre,
                                              const QString* department) {
  Currency total;
  for (const Row& row : group.rows) {
    if (row.period < yearStart) continue;
    if (!(row.period < period)) break;  // rows are in period order
    if (costCentre != nullptr && (row.costCentre != *costCentre || row.department != *department)) continue;
    total += row.amount;
  }
  return total;
}

ReportRowWriter::Row& ReportRowWriter::FindOrAppend(Group& group, const ReportAmount& c,
                                                    const QString& period, const QString* costCentre,
                                                    const QString* department, bool* appended) {
  const QString emptyText;
  const QString& cc = costCentre != nullptr ? *costCentre : emptyText;
  const QString& dept = department != nullptr ? *department : emptyText;
  const auto key = std::tie(period, cc, dept);
  auto it = std::lower_bound(group.rows.begin(), group.rows.end(), key, [](const Row& r, const auto& k) {
    return std::tie(r.period, r.costCentre, r.department) < k;
  });
  if (costCentre == nullptr) {
    // Three-field key: the first row of the period, whatever its cost centre.
    auto first = std::lower_bound(group.rows.begin(), group.rows.end(), period,
                                  [](const Row& r, const QString& p) { return r.period < p; });
    if (first != group.rows.end() && first->period == period) {
      *appended = false;
      return *first;
    }
  } else if (it != group.rows.end() && it->period == period && it->costCentre == cc &&
             it->department == dept) {
    *appended = false;
    return *it;
  }
  Row row;
  row.period = period;
  row.costCentre = cc;
  row.department = dept;
  row.description = c.description;
  row.trxType = c.trxType;
  row.wageType = c.wageType;
  *appended = true;
  ++m_rowCount;
  return *group.rows.insert(it, std::move(row));
}

void ReportRowWriter::WriteRow(const ReportAmount& c, const QString* costCentre, const QString* department) {
  const QString empCode = KeyText(c.empCode);
  const QString payCode = KeyText(c.payCode);
  const QString year = SubText(c.period, 1, 4);
  const QString yearStart = year + QStringLiteral("01");
  Group& group = GroupOf(empCode, payCode);

  // The year-to-date is the stored AMOUNT of the key's earlier periods of the year plus the
  // period's full AMOUNT after this contribution, so several pay runs of a period all count.
  const Currency earlier = EarlierPeriodsTotal(group, yearStart, c.period, costCentre, department);
  bool appended = false;
  Row& row = FindOrAppend(group, c, c.period, costCentre, department, &appended);
  // AMOUNT is a currency column written from a floating-point sum: stored to four decimals.
  row.amount = Currency::FromDouble(row.amount.ToDouble() + c.amount);
  const Currency ytd = earlier + row.amount;
  row.ytdAmount = ytd;
  row.rate = Currency::FromDouble(c.rate);
  row.hasRate = true;
  row.dirty = true;

  for (int month = MonthOfPeriod(c.period) + 1; month <= 12; ++month) {
    const QString later = year + TwoDigits(month);
    Row& laterRow = FindOrAppend(group, c, later, costCentre, department, &appended);
    laterRow.ytdAmount = ytd;
    laterRow.dirty = true;
  }
}

qint64 ReportRowWriter::DirtyRowCount() const {
  qint64 count = 0;
  for (const Group& group : m_groups)
    for (const Row& row : group.rows)
      if (row.dirty) ++count;
  return count;
}

std::vector<ReportRowValues> ReportRowWriter::Rows() const {
  std::vector<const Group*> groups;
  groups.reserve(m_groups.size());
  for (const Group& group : m_groups) groups.push_back(&group);
  std::sort(groups.begin(), groups.end(), [](const Group* a, const Group* b) {
    return std::tie(a->empCode, a->payCode) < std::tie(b->empCode, b->payCode);
  });
  std::vector<ReportRowValues> result;
  result.reserve(static_cast<std::size_t>(m_rowCount));
  for (const Group* group : groups)
    for (const Row& row : group->rows)
      result.push_back(ReportRowValues{group->empCode, group->payCode, row.period, row.costCentre,
                                       row.department, row.description, row.trxType, row.wageType, row.amount,
                                       row.ytdAmount, row.rate, row.hasRate});
  return result;
}

int ReportRowWriter::Flush(db::Connection& connection, const QString& tablePassword, int chunkRows) {
  db::Query insert(connection);
  db::Query update(connection);
  if (!tablePassword.isEmpty()) {
    insert.SetTablePassword(QStringLiteral("RPTRX"), tablePassword);
    update.SetTablePassword(QStringLiteral("RPTRX"), tablePassword);
  }
  insert.SetSQL(
      {QStringLiteral("INSERT INTO RPTRX (DESCRIPTION,EMPCODE,PERIOD,CYCLE,DEPT_CODE,COSTCENTRE_CODE,"
                      "WAGE_TYPE,PAYCODE,TRX_TYPE,AMOUNT,YTDAMOUNT,RATE)"),
       QStringLiteral("VALUES (:DESCRIPTION,:EMPCODE,:PERIOD,'E',:DEPT_CODE,:COSTCENTRE_CODE,"
                      ":WAGE_TYPE,:PAYCODE,:TRX_TYPE,:AMOUNT,:YTDAMOUNT,:RATE)")});
  update.SetSQL(
      {QStringLiteral("UPDATE RPTRX SET AMOUNT=:AMOUNT,YTDAMOUNT=:YTDAMOUNT,RATE=:RATE"),
       QStringLiteral(
           "WHERE EMPCODE=:EMPCODE AND PAYCODE=:PAYCODE AND PERIOD=:PERIOD "
           "AND COALESCE(COSTCENTRE_CODE,'')=:COSTCENTRE_CODE AND COALESCE(DEPT_CODE,'')=:DEPT_CODE")});
  const QVariant nullNumber(QMetaType::fromType<double>());

  int written = 0;
  int inChunk = 0;
  bool open = false;
  const auto commit = [&] {
    if (open) {
      open = false;
      connection.CommitTransaction();
    }
  };
  try {
    for (Group& group : m_groups) {
      for (Row& row : group.rows) {
        if (!row.dirty) continue;
        if (!open) {
          connection.BeginTransaction();
          open = true;
        }
        const QVariant rate = row.hasRate ? QVariant(row.rate.ToDouble()) : nullNumber;
        if (!row.stored) {
          insert.SetParamValue(QStringLiteral("DESCRIPTION"), row.description);
          insert.SetParamValue(QStringLiteral("EMPCODE"), group.empCode);
          insert.SetParamValue(QStringLiteral("PERIOD"), row.period);
          insert.SetParamValue(QStringLiteral("DEPT_CODE"), KeyValue(row.department));
          insert.SetParamValue(QStringLiteral("COSTCENTRE_CODE"), KeyValue(row.costCentre));
          insert.SetParamValue(QStringLiteral("WAGE_TYPE"), row.wageType);
          insert.SetParamValue(QStringLiteral("PAYCODE"), group.payCode);
          insert.SetParamValue(QStringLiteral("TRX_TYPE"), row.trxType);
          insert.SetParamValue(QStringLiteral("AMOUNT"), row.amount.ToDouble());
          insert.SetParamValue(QStringLiteral("YTDAMOUNT"), row.ytdAmount.ToDouble());
          insert.SetParamValue(QStringLiteral("RATE"), rate);
          insert.ExecSQL();
          row.stored = true;
        } else {
          const StoredKey* key = row.storedKey.get();
          update.SetParamValue(QStringLiteral("AMOUNT"), row.amount.ToDouble());
          update.SetParamValue(QStringLiteral("YTDAMOUNT"), row.ytdAmount.ToDouble());
          update.SetParamValue(QStringLiteral("RATE"), rate);
          update.SetParamValue(QStringLiteral("EMPCODE"), key ? key->empCode : QVariant(group.empCode));
          update.SetParamValue(QStringLiteral("PAYCODE"), key ? key->payCode : QVariant(group.payCode));
          update.SetParamValue(QStringLiteral("PERIOD"), key ? key->period : QVariant(row.period));
          update.SetParamValue(QStringLiteral("COSTCENTRE_CODE"),
                               key ? KeyValue(key->costCentre) : KeyValue(row.costCentre));
          update.SetParamValue(QStringLiteral("DEPT_CODE"),
                               key ? KeyValue(key->department) : KeyValue(row.department));
          update.ExecSQL();
        }
        row.dirty = false;
        ++written;
        if (++inChunk >= chunkRows) {
          inChunk = 0;
          commit();
        }
      }
    }
  } catch (...) {
    // What was written before the failing statement stays written.
    try {
      commit();
    } catch (...) {
    }
    throw;
  }
  commit();
  return written;
}

}  // namespace tarno::extraction
