// Resource ids of the frame, document and dialog tests (frame_test.rc).
#pragma once

#define IDR_SAMPLE 7000         // string of seven fields, menu, accelerators
#define IDR_SHORT 7001          // a string of three fields only
#define IDR_MDI_CHILD 7002      // a document type of the MDI test
#define ID_SAMPLE_COMMAND 7100  // in the menu and on Ctrl+K
#define ID_SAMPLE_UPDATE 7101
#define IDS_FIRST_PAGE 7110
#define IDS_SECOND_PAGE 7111

#define IDD_SAMPLE 7200
#define IDC_NAME 7201
#define IDC_ENABLED 7202
#define IDC_RADIO_FIRST 7203
#define IDC_RADIO_SECOND 7204
#define IDC_RADIO_THIRD 7205
#define IDC_COUNT 7206
#define IDC_AFTER_GROUP 7207

#define IDD_PAGE_ONE 7300
#define IDD_PAGE_TWO 7301
#define IDC_PAGE_EDIT 7302
#define IDC_PAGE_CHECK 7303

#define IDD_CHILD_PANEL 7400
#define IDC_PANEL_TEXT 7401
