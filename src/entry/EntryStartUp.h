// The start-up that the exported entry and the batch session share, between the creation of the
// data module and the creation of the dialog: the context block taken over, the connection made,
// PAYPARA1 positioned on the payroll year and the date format chosen; and the site switch that
// locks the report kind.
//
// Order: TDataModule1 created -> ConnectDataModule -> dialog or session created -> KindLockedBySite.
#pragma once

#include <QString>

#include "context/HostContext.h"

namespace tarno {

class TDataModule1;

// Copies the context block, checks PayMonth (1 to 12), connects to databasePath, sets the date
// format "DD/MM/CCYY", reopens PAYPARA1 (with the table password on a free-table connection) and
// positions it on PayYear; a G_DATEFORMAT of exactly "MM/DD/YYYY" there selects "MM/DD/CCYY".
// Throws tarno::Error (a missing database, table or password, a month outside 1 to 12).
void ConnectDataModule(TDataModule1& dataModule, const HostContextBlock& context,
                       const QString& databasePath);

// The "OTCOMP" switch of CUSTOM: when on, only report kind 0 may run.
bool KindLockedBySite(TDataModule1& dataModule);

}  // namespace tarno
