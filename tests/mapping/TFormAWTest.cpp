// The allowance code mapping form, offscreen: what the grid shows, what the combo stores, when
// rows reach ALLOWNCE, and what a locked table does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>

#include "common/TestSupport.h"
#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/Table.h"
#include "context/UserInterface.h"
#include "mapping/AllowanceGridModel.h"
#include "mapping/AllowanceMapping.h"
#include "mapping/PayCode2ComboDelegate.h"
#include "mapping/TFormAW.h"

namespace tarno::mapping {
namespace {

class RecordingMessages final : public UserInterface {
 public:
  RecordingMessages() { SetUserInterface(this); }
  ~RecordingMessages() override { SetUserInterface(nullptr); }
  void ShowMessage(const QString& text) override { messages << text; }
  void ShowWarning(const QString& text) override { messages << text; }
  void ShowError(const QString& text) override { errors << text; }
  bool Confirm(const QString&) override { return false; }
  QStringList messages, errors;
};

// A database with ALLOWNCE: codes A01..A09 of 2025 (PAYCODE2 empty) and B01 of 2024, and a data
// module connected to it with PayYear 2025.
class MappingFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = test::ScratchFolder(
                 QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())) +
             QStringLiteral("/payroll.db");
    {
      QFile file(m_path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    m_dm = std::make_unique<TDataModule1>();
    m_dm->AdsConnection1.SetConnectPath(m_path);
    m_dm->AdsConnection1.SetConnected(true);
    m_dm->Context.values[11] = 2025;  // PayYear
    Exec(
        QStringLiteral("CREATE TABLE ALLOWNCE (ALLOW_CODE CHAR(10), \"YEAR\" INTEGER, \"DESC\" CHAR(30), "
                       "PAYCODE CHAR(1), PAYCODE2 CHAR(10), IS_FUND CHAR(1), TRNNO INTEGER)"));
    for (int i = 9; i >= 1; --i)  // stored out of order: the grid orders by code
      Exec(QStringLiteral("INSERT INTO ALLOWNCE VALUES ('A0%1', 2025, 'Allowance %1', 'A', '', 'Y', %1)")
               .arg(i));
    Exec(QStringLiteral("INSERT INTO ALLOWNCE VALUES ('B01', 2024, 'Old code', 'A', 'NA', 'Y', 1)"));
  }

  void Exec(const QString& sql) {
    QSqlQuery query(m_dm->AdsConnection1.Database());
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
  }

  // PAYCODE2 as stored in the database.
  QString StoredPayCode2(const QString& code, int year = 2025) {
    QSqlQuery query(m_dm->AdsConnection1.Database());
    query.prepare(QStringLiteral("SELECT PAYCODE2 FROM ALLOWNCE WHERE ALLOW_CODE = ? AND \"YEAR\" = ?"));
    query.addBindValue(code);
    query.addBindValue(year);
    if (!query.exec() || !query.next()) return QStringLiteral("<no row>");
    return query.value(0).toString().trimmed();
  }

  std::unique_ptr<TFormAW> ShownForm() {
    auto form = std::make_unique<TFormAW>(*m_dm);
    form->FormShow();
    form->show();
    return form;
  }

  // Starts editing PAYCODE2 of a row, puts a text into the combo (as chosen or typed) and
  // returns the combo, still open.
  QComboBox* EditPayCode2(TFormAW& form, int row, const QString& text) {
    QTableView* grid = form.wwDBGrid1();
    const QModelIndex index = grid->model()->index(row, AllowanceGridModel::kPayCode2);
    grid->setCurrentIndex(index);
    grid->edit(index);
    QComboBox* combo = form.wwDBComboBox1()->OpenEditor();
    if (combo == nullptr) return nullptr;
    const int item = combo->findText(text);
    if (item >= 0)
      combo->setCurrentIndex(item);
    else
      combo->setEditText(text);
    return combo;
  }

  // Moves the grid's current cell to another row (which posts the row left).
  static void LeaveRow(TFormAW& form, int toRow) {
    form.wwDBGrid1()->setCurrentIndex(
        form.wwDBGrid1()->model()->index(toRow, AllowanceGridModel::kAllowCode));
  }

  RecordingMessages m_messages;
  QString m_path;
  std::unique_ptr<TDataModule1> m_dm;
};

TEST_F(MappingFormTest, FormShowsTheCodesOfThePayrollYearInCodeOrder) {
  auto form = ShownForm();
  EXPECT_EQ(form->windowTitle(), "Allowance Code Mapping Setup");
  EXPECT_EQ(form->size(), QSize(423, 466));
  const QAbstractItemModel* model = form->wwDBGrid1()->model();
  ASSERT_EQ(model->columnCount(), 3);
  const QStringList titles = {"ALLOW_CODE", "DESCRIPTION", "PAYCODE2"};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), titles[c]);
    EXPECT_EQ(model->flags(model->index(0, c)).testFlag(Qt::ItemIsEditable), c == 2) << c;
  }
  ASSERT_EQ(model->rowCount(), 9);
  for (int r = 0; r < 9; ++r) {
    EXPECT_EQ(model->index(r, 0).data().toString(), QStringLiteral("A0%1").arg(r + 1));
    EXPECT_EQ(model->index(r, 1).data().toString(), QStringLiteral("Allowance %1").arg(r + 1));
  }
  // Column widths follow 12, 35 and 15 characters.
  QTableView* grid = form->wwDBGrid1();
  EXPECT_LT(grid->columnWidth(0), grid->columnWidth(2));
  EXPECT_LT(grid->columnWidth(2), grid->columnWidth(1));
  auto* panel = form->findChild<QWidget*>(QStringLiteral("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->height(), 35);
  EXPECT_NE(form->findChild<QPushButton*>(QStringLiteral("BitBtn2")), nullptr);
}

TEST_F(MappingFormTest, YearWithoutCodesShowsAnEmptyGrid) {
  m_dm->Context.values[11] = 2031;
  auto form = ShownForm();
  EXPECT_EQ(form->wwDBGrid1()->model()->rowCount(), 0);
  EXPECT_TRUE(form->FormCloseQuery());
}

TEST_F(MappingFormTest, ChosenGroupIsStoredByItsValueWhenTheGridLeavesTheRow) {
  const struct {
    const char* chosen;
    const char* stored;
    const char* shown;
  } cases[] = {
      {"OT", "OVERTIME", "OT"},
      {"INCENTIVE", "INCT", "INCENTIVE"},
      {"ALLOWANCE", "ALLW", "ALLOWANCE"},
      {"DEDUCTION", "DEDU", "DEDUCTION"},
      {"BASIC", "BASIC", "BASIC"},
      {"BONUS", "BONUS", "BONUS"},
      {"NA", "NA", "NA"},
      {"SHIFT", "SHIFT", "SHIFT"},  // typed, not in the list
  };
  auto form = ShownForm();
  int row = 0;
  for (const auto& c : cases) {
    ASSERT_NE(EditPayCode2(*form, row, QString::fromLatin1(c.chosen)), nullptr);
    LeaveRow(*form, row + 1);
    const QString code = QStringLiteral("A0%1").arg(row + 1);
    EXPECT_EQ(StoredPayCode2(code), QString::fromLatin1(c.stored)) << c.chosen;
    EXPECT_EQ(form->wwDBGrid1()->model()->index(row, 2).data().toString(), QString::fromLatin1(c.shown));
    ++row;
  }
  EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
  EXPECT_EQ(StoredPayCode2(QStringLiteral("B01"), 2024), "NA");  // another year is untouched
}

TEST_F(MappingFormTest, EditorShowsTheStoredValuesEntry) {
  Exec(QStringLiteral("UPDATE ALLOWNCE SET PAYCODE2 = 'OVERTIME' WHERE ALLOW_CODE = 'A01'"));
  Exec(QStringLiteral("UPDATE ALLOWNCE SET PAYCODE2 = 'CUSTOM' WHERE ALLOW_CODE = 'A02'"));
  auto form = ShownForm();
  QTableView* grid = form->wwDBGrid1();
  EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "OT");
  const struct {
    int row;
    const char* editorText;
  } cases[] = {{0, "OT"}, {1, "CUSTOM"}, {2, ""}};
  for (const auto& c : cases) {
    const QModelIndex index = grid->model()->index(c.row, 2);
    grid->setCurrentIndex(index);
    grid->edit(index);
    QComboBox* combo = form->wwDBComboBox1()->OpenEditor();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QString::fromLatin1(c.editorText));
    EXPECT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->maxVisibleItems(), 8);
    LeaveRow(*form, 5);
  }
  // Opening and leaving editors without a change writes nothing.
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A02")), "CUSTOM");
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A03")), "");
}

TEST_F(MappingFormTest, RowIsNotWrittenBeforeTheGridLeavesIt) {
  auto form = ShownForm();
  QComboBox* combo = EditPayCode2(*form, 0, QStringLiteral("BONUS"));
  ASSERT_NE(combo, nullptr);
  form->wwDBComboBox1()->CommitOpenEditor();
  EXPECT_TRUE(form->GridModel()->HasPendingEdit());
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A01")), "");
  LeaveRow(*form, 3);
  EXPECT_FALSE(form->GridModel()->HasPendingEdit());
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A01")), "BONUS");
}

TEST_F(MappingFormTest, ClosingWithAPendingEditSavesIt) {
  // Once with the change handed to the row, once with the change still in the open combo.
  for (const bool commitFirst : {true, false}) {
    auto form = ShownForm();
    const int row = commitFirst ? 0 : 1;
    ASSERT_NE(EditPayCode2(*form, row, QStringLiteral("INCENTIVE")), nullptr);
    if (commitFirst) form->wwDBComboBox1()->CommitOpenEditor();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(StoredPayCode2(QStringLiteral("A0%1").arg(row + 1)), "INCT") << commitFirst;
  }
  EXPECT_TRUE(m_messages.errors.isEmpty());
}

TEST_F(MappingFormTest, TableLockedByAnotherConnectionShowsTheErrorAndKeepsTheFormOpen) {
  auto form = ShownForm();
  ASSERT_NE(EditPayCode2(*form, 0, QStringLiteral("OT")), nullptr);
  form->wwDBComboBox1()->CommitOpenEditor();

  db::Connection other;
  other.SetConnectPath(m_path);
  other.SetConnected(true);
  auto locked = std::make_unique<db::Table>(other, QStringLiteral("ALLOWNCE.adt"));
  locked->SetExclusive(true);
  locked->Open();

  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(m_messages.errors.size(), 1);
  EXPECT_TRUE(m_messages.errors[0].contains(QStringLiteral("ALLOWNCE"), Qt::CaseInsensitive))
      << m_messages.errors[0].toStdString();
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A01")), "");

  // Leaving the row while locked: the same error, the edit stays pending.
  LeaveRow(*form, 4);
  EXPECT_EQ(m_messages.errors.size(), 2);
  EXPECT_TRUE(form->GridModel()->HasPendingEdit());

  // Once the other connection lets go, closing saves the change.
  locked.reset();
  EXPECT_TRUE(form->close());
  EXPECT_EQ(StoredPayCode2(QStringLiteral("A01")), "OVERTIME");
}

TEST_F(MappingFormTest, FailedStartReleasesTheFormAndReportsTheLayersError) {
  Exec(QStringLiteral("DROP TABLE ALLOWNCE"));
  EXPECT_THROW(RunAllowanceMapping(*m_dm, nullptr), DatabaseError);
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_EQ(qobject_cast<TFormAW*>(widget), nullptr) << "a form was left behind";
}

// Keeps a picture of the form for review: $TARNO_SCREENSHOTS/TFormAW.png when set, else in the
// scratch folder. The picture must be the whole client area with the grid filled.
TEST_F(MappingFormTest, ScreenshotOfTheForm) {
  Exec(QStringLiteral("UPDATE ALLOWNCE SET PAYCODE2 = 'OVERTIME' WHERE ALLOW_CODE = 'A01'"));
  Exec(QStringLiteral("UPDATE ALLOWNCE SET PAYCODE2 = 'INCT' WHERE ALLOW_CODE = 'A02'"));
  auto form = ShownForm();
  QApplication::processEvents();
  const QString folder = qEnvironmentVariableIsEmpty("TARNO_SCREENSHOTS")
                             ? test::ScratchFolder(QStringLiteral("screenshots"))
                             : qEnvironmentVariable("TARNO_SCREENSHOTS");
  QDir().mkpath(folder);
  const QPixmap picture = form->grab();
  EXPECT_EQ(picture.size() / picture.devicePixelRatio(), QSize(423, 466));
  EXPECT_TRUE(picture.save(folder + QStringLiteral("/TFormAW.png")));
}

}  // namespace
}  // namespace tarno::mapping
