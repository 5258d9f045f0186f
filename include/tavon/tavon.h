// The DUV validator library.
//
//   tavon::FileSource source(tavon::open_input_file("duv.xml", why), "duv.xml");
//   MySink sink;                                   // a tavon::FindingSink
//   tavon::Result result = tavon::Validator().run(source, sink);
//
// A Validator reads a Source once, from start to end, and hands every finding to a FindingSink as
// data, in the order of reading; ReportWriter is the sink that writes the report formats of the
// command line, CopyWriter the normalised copy. The library never prints, never ends the process
// and needs no files of its own. All texts are Windows-1250 bytes.
#pragma once

#include "tavon/data.h"
#include "tavon/finding.h"
#include "tavon/report.h"
#include "tavon/source.h"
#include "tavon/validator.h"
