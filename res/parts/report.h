// Resource ids of the report list control.
#pragma once

// The strip of six 16 x 15 state pictures of the report list (magenta is transparent).
#define IDB_REPORT_STATES 150
