// Fills the tables of a freshly created company database: reference tables, the employees and
// their service records, then every pay run with its detail lines, wage records and cost-centre
// splits. The caller holds the transaction.
#pragma once

#include "demo/DemoCompany.h"

namespace tarno::db {
class Connection;
}

namespace tarno::demo {

void WriteDemoCompany(db::Connection& connection, const DemoOptions& options);

}  // namespace tarno::demo
