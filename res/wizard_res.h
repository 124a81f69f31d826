// Ids of the import/export wizard's pages and their controls.
#pragma once

#define IDD_WIZARD_TYPE 107
#define IDD_WIZARD_CLASS 164
#define IDD_WIZARD_PROGRESS 208

// Page 1: what to import or export, and where from or to
#define IDC_WIZARD_TYPE 1006
#define IDC_WIZARD_BROWSE_PATH 1008
#define IDC_WIZARD_PATH_LABEL 1009
#define IDC_WIZARD_PATH 1010
// Page 2: the category
#define IDC_WIZARD_CLASS 1007
#define IDC_WIZARD_BROWSE_CLASS 1011
#define IDC_WIZARD_EXPLANATION 1022
#define IDC_WIZARD_HINT 1023
// Page 3: progress and outcome
#define IDC_WIZARD_STATUS 1022
#define IDC_WIZARD_PROGRESS 1012
#define IDC_WIZARD_RESULT 1025
