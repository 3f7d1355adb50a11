#pragma once

#include "exec/run_control.h"

#include <string>

// The status bar's text during a run: "Executing statement 3: 120,000 rows,
// 0:05" (the statement's number in the run, the rows fetched so far of its
// result set when it has one, the run's time as minutes:seconds), or
// "Executing..." before the first statement.
std::string RunProgressText(const CRunControl::Progress& progress);
