// The resource the report list loads from the program. Plain C, so that resource scripts can
// include it.
#pragma once

// The strip of six 16 x 15 state pictures of the report list (magenta is transparent).
#define IDB_REPORT_STATES 150
