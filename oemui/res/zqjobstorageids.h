// Resources of the Job Storage page: its two templates and the control ids its code and its
// templates share (the logo and the help button: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_JOBSTORAGEPAGE 198
#define IDD_DLG_JOBSTORAGEPAGE_RTL 200

// Controls of the page.
#define IDC_GB_JOB_RET_MODE 315
#define IDC_RB_OFF 319
#define IDC_RB_PROOF_AND_HOLD 320
#define IDC_RB_PRIVATE_JOB 321
#define IDC_RB_QUICK_COPY 322
#define IDC_RB_STORED_JOB 323
#define IDC_CHK_REQ_PIN 330
#define IDC_TXT_USER_NAME 332
#define IDC_TXT_JOB_NAME 334
#define IDC_TXT_PIN 336
#define IDC_STA_TEXT 338
#define IDC_STA_PIN_NUM 342
#define IDC_STAT_JOBID_USER_NAME 344
#define IDC_STAT_JOBID_JOB_NAME 346
#define IDC_RB_USER_AUTO 478
#define IDC_RB_USER_CUSTOM 479
#define IDC_RB_JOB_AUTO 480
#define IDC_RB_JOB_CUSTOM 481
#define IDC_GB_USERNAME 482
#define IDC_GB_JOBNAME 484
#define IDC_GB_PIN 486
#define IDC_CHK_DISPLAY_JOB_ID 487
#define IDC_GB_JOB_NOTIFICATION 488
#define IDC_STA_DETAILS 513
#define IDC_STAT_JOBNAME_EXISTS 704
#define IDC_CBO_SOFT_FWARE 705
