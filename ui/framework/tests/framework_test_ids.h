// Ids of the framework tests' own dialog.
#pragma once

#define IDD_FRAMEWORK_TEST 9001
#define IDC_TEST_EDIT 9101
#define IDC_TEST_LINK 9102
#define IDC_TEST_OTHER 9103
