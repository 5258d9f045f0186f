// The DUV validator library.
//
//   MyFindings findings;                                      // a tavon::FindingSink
//   tavon::Result<tavon::Totals> totals = tavon::check_file("duv.xml", findings);
//
// or, for bytes that arrive in pieces, a tavon::Check fed with them (tavon/check.h). Every finding
// reaches the sink as data, in the order of reading; tavon::Report is the sink that writes the
// report formats of the command line (tavon/report.h). The library never prints, never ends the
// process and needs no files of its own. Texts are Windows-1250 bytes; tavon/text.h converts.
#pragma once

#include "tavon/check.h"
#include "tavon/data.h"
#include "tavon/finding.h"
#include "tavon/input.h"
#include "tavon/report.h"
#include "tavon/result.h"
#include "tavon/text.h"
