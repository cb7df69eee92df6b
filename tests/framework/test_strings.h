// String ids of the framework tests' resource script.
#pragma once

#define IDS_TEST_GREETING 9001
#define IDS_TEST_KOREAN 9002
#define IDS_TEST_PANE0 9003
#define IDS_TEST_PANE1 9004
#define IDS_TEST_MISSING 9099
#define IDB_TEST_BITMAP 9101
#define IDR_TEST_MENU 9201
#define ID_TEST_FIRST 9211
#define ID_TEST_SECOND 9212
