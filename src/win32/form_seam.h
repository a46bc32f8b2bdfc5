// The forms seam, for the Windows forms engine: <windows.h> beside the
// seam's own headers. The seam names its constants in its own words, so the
// two can be included in any order.
#pragma once

#include <windows.h>

#include "host/error.h"
#include "host/form_design.h"
#include "host/forms.h"
