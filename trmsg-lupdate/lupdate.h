// trmsg-lupdate from a parsed command line to the .ts files written.
#pragma once

#include "options.h"

// The exit status: 0 when every .ts file was written (warnings about calls
// that could not be read included), 1 when none was.
int runLupdate(const LupdateOptions &options);
