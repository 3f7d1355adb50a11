#pragma once

#include "db/db_connection.h"

#include <string>

// The first value of the first row that query gives on connection, as text
// ("" when there is no row).
inline std::string QueryValue(CDbConnection& connection, const std::string& query) {
    const ExecuteResult result = connection.Execute(query);
    char value[32] = "";
    SQLLEN indicator = 0;
    result.statement->BindColumn(1, value, sizeof value, &indicator);
    return result.statement->Fetch() ? value : "";
}
