// The report dialog's widgets as the operator meets them: names, captions, positions, defaults,
// the report-kind items and the typed kind, the period combos, and the dialog state that the run
// driver reads from them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "context/DataModule.h"
#include "dialog/ReportSession.h"
#include "dialog/TmyEndUserSolution.h"
#include "entry/CompanyFixture.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;

namespace {

QString TextOf(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  return QString();
}

}  // namespace

TEST(ReportDialog, ControlsHaveTheirNamesCaptionsAndPlaces) {
  TDataModule1 dm;
  TmyEndUserSolution dialog(dm);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Pivot Table Report"));
  // Outer 409 x 403 less the usual 4-pixel borders and 19-pixel caption.
  EXPECT_EQ(dialog.size(), QSize(401, 376));
  EXPECT_EQ(QFontInfo(dialog.font()).family(), QStringLiteral("Liberation Sans"));
  EXPECT_EQ(dialog.font().pointSize(), 8);

  struct Control {
    const char* name;
    int left, top, width;  // width 0: not checked
    const char* text;      // nullptr: no caption
    bool visible;
  };
  const Control controls[] = {
      {"LabelPeriod", 20, 56, 0, "From Period", true},
      {"wwDBLookupComboPrd1", 88, 50, 87, nullptr, true},
      {"Label6", 190, 56, 0, "To", true},
      {"wwDBLookupComboPrd2", 219, 50, 86, nullptr, true},
      {"RadioGroupCycle", 20, 87, 289, "Select Pay Cycle", true},
      {"SpecBox", 199, 102, 0, "Included Special", true},
      {"BonusBox", 202, 121, 0, "Included Bonus", true},
      {"Label1", 24, 204, 0, "Option", true},
      {"wwDBComboBox1", 65, 200, 241, nullptr, true},
      {"CheckBoxCTR", 25, 227, 0, "Cost Centre Breakdown?", true},
      {"chkHead", 26, 245, 0, "Show Head count?", true},
      {"chkcsv", 26, 263, 0, "Export to CSV format?", false},
      {"BitBtn1", 8, 6, 72, "&Process ", true},
      {"BitBtn3", 88, 6, 72, "Setup", false},
      {"BitBtn4", 232, 6, 72, "&Report", true},
      {"BitBtn2", 317, 6, 75, nullptr, true},
  };
  dialog.show();
  for (const Control& c : controls) {
    SCOPED_TRACE(c.name);
    const auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->pos(), QPoint(c.left, c.top));
    if (c.width > 0) {
      EXPECT_EQ(widget->width(), c.width);
    }
    if (c.text != nullptr) {
      EXPECT_EQ(TextOf(widget), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(widget->isVisible(), c.visible);
  }
  // Captions left of the box.
  for (const char* box : {"SpecBox", "BonusBox", "CheckBoxCTR", "chkHead", "chkcsv"})
    EXPECT_EQ(dialog.findChild<QCheckBox*>(box)->layoutDirection(), Qt::RightToLeft) << box;
  EXPECT_EQ(dialog.findChild<QLabel*>("LabelPeriod")->font().family(), QStringLiteral("Arial"));

  const auto* panel = dialog.findChild<QFrame*>("Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->geometry(), QRect(0, dialog.height() - 35, dialog.width(), 35));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(240, 202, 166));
  dialog.hide();
}

TEST(ReportDialog, DefaultsAsTheOperatorFindsThem) {
  TDataModule1 dm;
  TmyEndUserSolution dialog(dm);
  const QStringList cycleItems = {"Mid Month",     "End Month",  "Special Period",
                                  "Bonus Period ", "Full Month", "Mid And End"};
  const auto radios = dialog.findChild<QGroupBox*>("RadioGroupCycle")->findChildren<QRadioButton*>();
  QStringList texts;
  for (const QRadioButton* radio : radios) texts.append(radio->text());
  EXPECT_EQ(texts, cycleItems);
  EXPECT_EQ(dialog.CycleIndex(), kFullMonth);
  EXPECT_TRUE(dialog.ShowHeadCount());
  EXPECT_FALSE(dialog.IncludedSpecial());
  EXPECT_FALSE(dialog.IncludedBonus());
  EXPECT_FALSE(dialog.CostCentreBreakdown());
  EXPECT_FALSE(dialog.ExportCsv());
  EXPECT_EQ(dialog.ReportKind(), 0);
  EXPECT_EQ(dialog.ReportKindValue(), QStringLiteral("HISTORY1.XLSX"));
  EXPECT_EQ(dialog.Session().CurrentPeriod, QString());
}

TEST(ReportDialog, StateFollowsTheControls) {
  TDataModule1 dm;
  TmyEndUserSolution dialog(dm);
  dialog.findChild<QRadioButton*>("RadioGroupCycleItem5")->setChecked(true);
  EXPECT_EQ(dialog.CycleIndex(), kMidAndEnd);
  dialog.findChild<QRadioButton*>("RadioGroupCycleItem0")->setChecked(true);
  EXPECT_EQ(dialog.CycleIndex(), kMidMonth);

  struct Box {
    const char* name;
    std::function<bool()> read;
  };
  const Box boxes[] = {
      {"SpecBox", [&] { return dialog.IncludedSpecial(); }},
      {"BonusBox", [&] { return dialog.IncludedBonus(); }},
      {"CheckBoxCTR", [&] { return dialog.CostCentreBreakdown(); }},
      {"chkHead", [&] { return dialog.ShowHeadCount(); }},
      {"chkcsv", [&] { return dialog.ExportCsv(); }},
  };
  for (const Box& box : boxes) {
    auto* check = dialog.findChild<QCheckBox*>(box.name);
    for (const bool ticked : {true, false}) {
      check->setChecked(ticked);
      EXPECT_EQ(box.read(), ticked) << box.name;
    }
  }

  dialog.SetRunButtonsEnabled(false);
  EXPECT_FALSE(dialog.findChild<QPushButton*>("BitBtn1")->isEnabled());
  EXPECT_FALSE(dialog.findChild<QPushButton*>("BitBtn4")->isEnabled());
  EXPECT_TRUE(dialog.findChild<QPushButton*>("BitBtn2")->isEnabled());
  dialog.SetRunButtonsEnabled(true);
  EXPECT_TRUE(dialog.findChild<QPushButton*>("BitBtn1")->isEnabled());
}

TEST(ReportDialog, ReportKindIsTheChosenItemOrMinusOneForATypedText) {
  TDataModule1 dm;
  TmyEndUserSolution dialog(dm);
  QComboBox* combo = dialog.ReportKindCombo();
  ASSERT_EQ(combo->count(), 10);
  EXPECT_TRUE(combo->isEditable());
  for (const ReportKindItem& item : kReportKinds) {
    combo->setCurrentIndex(item.index);
    EXPECT_EQ(dialog.ReportKind(), item.index);
    EXPECT_EQ(dialog.ReportKindText(), QString::fromLatin1(item.displayText));
    EXPECT_EQ(dialog.ReportKindValue(), QString::fromLatin1(item.templateName));
  }
  struct Typed {
    const char* text;
    int kind;
    const char* value;
  };
  const Typed typed[] = {
      {"Payroll Analysis Report (Code+Desc)", 3, "HISTORY4.XLSX"},  // typed exactly as an item
      {"YTD Payroll Report ", 9, "HISTORY9.XLSX"},                  // the trailing blank belongs to it
      {"YTD Payroll Report", -1, ""},
      {"payroll analysis report", -1, ""},
      {"My own report", -1, ""},
  };
  for (const Typed& t : typed) {
    combo->setEditText(QString::fromLatin1(t.text));
    EXPECT_EQ(dialog.ReportKind(), t.kind) << t.text;
    EXPECT_EQ(dialog.ReportKindText(), QString::fromLatin1(t.text));
    EXPECT_EQ(dialog.ReportKindValue(), QString::fromLatin1(t.value)) << t.text;
  }
}

TEST(ReportDialog, PeriodCombosTakeSixCharactersAndDropEightRows) {
  TDataModule1 dm;
  TmyEndUserSolution dialog(dm);
  for (const char* name : {"wwDBLookupComboPrd1", "wwDBLookupComboPrd2"}) {
    SCOPED_TRACE(name);
    auto* combo = dialog.findChild<QComboBox*>(name);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->maxVisibleItems(), 8);
    combo->lineEdit()->clear();
    combo->lineEdit()->insert(QStringLiteral("2024019"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("202401"));
  }
  EXPECT_EQ(dialog.PeriodFromText(), QStringLiteral("202401"));
  EXPECT_EQ(dialog.PeriodToText(), QStringLiteral("202401"));
}

TEST(ReportDialog, FormShowFillsTheYearOnceAndEmptiesTheReportTable) {
  const QString path = test::MakeCompanyDatabase("dialog-formshow");
  TDataModule1 dm;
  dm.AdsConnection1.SetConnectPath(path);
  dm.AdsConnection1.SetConnected(true);
  dm.Context.values[11] = 2025;  // PayYear
  dm.Context.values[12] = 7;     // PayMonth
  TmyEndUserSolution dialog(dm);
  for (int showing = 1; showing <= 2; ++showing) {
    dialog.FormShow();
    const auto* from = dialog.findChild<QComboBox*>("wwDBLookupComboPrd1");
    ASSERT_EQ(from->count(), 12) << "showing " << showing;
    EXPECT_EQ(from->itemText(0), QStringLiteral("202501"));
    EXPECT_EQ(from->itemData(11).toString(), QStringLiteral("202512"));
    EXPECT_EQ(dialog.PeriodFromText(), QStringLiteral("202507"));
    EXPECT_EQ(dialog.PeriodToText(), QStringLiteral("202507"));
  }
  EXPECT_EQ(test::CountRows(path, "RPTRX"), 0);
}

TEST(ReportDialog, MonthOutsideTheYearIsRefusedByFormShow) {
  const QString path = test::MakeCompanyDatabase("dialog-bad-month");
  TDataModule1 dm;
  dm.AdsConnection1.SetConnectPath(path);
  dm.AdsConnection1.SetConnected(true);
  dm.Context.values[11] = 2024;
  dm.Context.values[12] = 13;
  TmyEndUserSolution dialog(dm);
  EXPECT_THROW(dialog.FormShow(), ValidationError);
  EXPECT_EQ(test::CountRows(path, "RPTRX"), 1);
}
