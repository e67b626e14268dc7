// Table passwords for the statements of the mapped workbooks. On a free-table connection every
// statement gets the password of each encrypted table that it names; a dictionary connection needs
// none, and tables that are not encrypted are given none.
#pragma once

#include <QString>
#include <QStringList>

#include "context/Query.h"

namespace tarno::outputs {

void GiveStatementPasswords(db::Query& query, const QStringList& tables, const QString& password);

}  // namespace tarno::outputs
