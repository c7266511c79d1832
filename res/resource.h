// Resource, command and control ids of the program. Included by the resource scripts (windres) and by
// C++ code; plain macros so that both can read them.
#pragma once

// Controls the program never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The UI toolkit's own ids (9000 to 9999).
#include "toolkit_resource.h"

// ---- shared by the frame's icon, toolbar and document-template string --------------------------------
#define IDR_MAINFRAME 128

// ---- menus ------------------------------------------------------------------------------------------
#define IDR_MAIN_MENU 343
#define IDR_LIST_CONTEXT_MENU 192
#define IDR_TREE_CONTEXT_MENU 325

// ---- commands ---------------------------------------------------------------------------------------
#define ID_RECOVER_SELECTED 32777
#define ID_LOAD_SNAPSHOT 32781
#define ID_VIEW_ICONS 32782
#define ID_FIND_FILES 32785
#define ID_FILE_FILTERS 32786
#define ID_SETTINGS 32787
#define ID_DRIVE_INFORMATION 32788
#define ID_RENAME_ITEM 32802
#define ID_ITEM_PROPERTIES 32804
#define ID_EXIT 32809
#define ID_SAVE_ALL 32810
#define ID_SAVE_SNAPSHOT 32811
#define ID_OPEN_IMAGE 32818
// Ids the class library gives its standard commands.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_APP_ABOUT 57664
#define ID_HELP 57670
#define ID_VIEW_LIST 59410
#define ID_VIEW_DETAILS 59411
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// ---- strings ----------------------------------------------------------------------------------------
#define IDS_OLE_INIT_FAILED 100
#define IDS_PROGRESS_CAPTION 61465

// ---- dialogs ----------------------------------------------------------------------------------------
#define IDD_ABOUT 100
#define IDD_DRIVE_INFORMATION 194
#define IDD_FIND_FILES 195
#define IDD_RECOVERY_SETTINGS 206
#define IDD_FILE_FILTERS 209
#define IDD_PROPERTIES 212
#define IDD_SAVING 215
#define IDD_PROGRESS 226
#define IDD_FILE_TYPES 237
#define IDD_PARTITION_CHOICE 301
#define IDD_SELECT_VHD_FILE 341

// ---- bitmaps ----------------------------------------------------------------------------------------
#define IDB_PANEL_PATTERN 133           // 8 x 8 pattern brush of the scan progress panel
#define IDB_RESULTS_LIST_BACKGROUND 160 // tiled behind the results list
#define IDB_BANNER 183                  // 250 x 51, drawn on the command bars with white transparent
#define IDB_TREE_STATE_IMAGES 200       // 16-pixel strip: none, unchecked, checked, partly checked
#define IDB_LIST_STATE_IMAGES 201       // 16 x 20 strip: none, unchecked, checked, none
// Dialog skins: 0x00FF00 marks what lies outside the window's region.
#define IDB_SKIN_SMALL_DIALOG 202       // "Please Select", "Drive Information"
#define IDB_SKIN_SETTINGS 208           // "Recovery Settings", "File Types"
#define IDB_SKIN_FILE_FILTERS 210
#define IDB_SKIN_PROPERTIES 213
#define IDB_SKIN_SAVING 216
#define IDB_SKIN_PROGRESS 221
#define IDB_SKIN_ABOUT 311
#define IDB_SKIN_FIND_FILES 196
// Pages: background, header pieces.
#define IDB_PAGE_BACKGROUND 252         // stretched over every page
#define IDB_HEADER_START 269            // pages 0 and 1, top left
#define IDB_HEADER_RIGHT 273            // every page, top right
#define IDB_HEADER_FILL 275             // stretched between the left and right pieces
#define IDB_HEADER_SCAN_DRIVE 278       // page 2, a logical drive
#define IDB_HEADER_SCANNING 279         // pages 2 and 3 while a worker runs
#define IDB_HEADER_RESULTS 281          // page 4
#define IDB_HEADER_SCAN_PARTITION 283   // page 2, Quick Scan and File Trace
#define IDB_HEADER_FILE_SYSTEMS 284     // page 3
#define IDB_HEADER_SCAN_RANGE 285       // page 2, Extensive Scan
// The preview pane's placeholders, 319 x 125 each.
#define IDB_PREVIEW_CORRUPTED 198       // "File Corrupted"
#define IDB_PREVIEW_NO_VIEWER 197       // "Preview not available for this file type"
#define IDB_PREVIEW_SELECT_FILE 211     // "Select file for preview"
#define IDB_PREVIEW_LARGE_FILE 297      // "File too large to preview"
#define IDB_PREVIEW_IMAGE_NEEDED 296    // "Disk image needed to preview", and what to do
#define IDB_DATABASE_TREE 181           // 12 images of 16 x 16 on magenta: the database tree's item kinds
// Mode buttons of page 0, 173 x 73: normal and hover.
#define IDB_QUICK_SCAN_HOT 253
#define IDB_QUICK_SCAN 254
#define IDB_EXTENSIVE_SCAN_HOT 258
#define IDB_EXTENSIVE_SCAN 259
#define IDB_FILE_TRACE 260
#define IDB_FILE_TRACE_HOT 261
// Tool buttons of the pages, 85 x 35 (Home 45 x 45, Recover 105 x 35): normal and hover.
#define IDB_HOME 268
#define IDB_HOME_HOT 317
#define IDB_NEXT_HOT 318
#define IDB_BACK 319
#define IDB_BACK_HOT 320
#define IDB_NEXT 321
#define IDB_STOP_HOT 323
#define IDB_STOP 324
#define IDB_RECOVER_HOT 329
#define IDB_RECOVER 330

// ---- icons ------------------------------------------------------------------------------------------
// The application icon is IDR_MAINFRAME: the first icon of the program, so ",0" names it.
// Source and file-system trees, 16 x 16.
#define IDI_TREE_COMPUTER 148
#define IDI_TREE_DEVICES 151
#define IDI_TREE_FIXED_DISK 152
#define IDI_TREE_REMOVABLE 153
#define IDI_TREE_CDROM 154
#define IDI_TREE_FOLDER 155
#define IDI_TREE_VIRTUAL_DISK 179
// Column headers of the results list (48 x 48 and 16 x 16), in the list's order.
#define IDI_HEADER_CREATED 161
#define IDI_HEADER_TYPE 162
#define IDI_HEADER_NAME 163
#define IDI_HEADER_SIZE 164
#define IDI_HEADER_PATH 165
#define IDI_HEADER_MODIFIED 166
#define IDI_HEADER_ID 167
// Toolbar, 32 x 32.
#define IDI_TOOL_HELP 185
#define IDI_TOOL_SETTINGS 188
#define IDI_TOOL_SAVE_SNAPSHOT 189
#define IDI_TOOL_LOAD_SNAPSHOT 190
#define IDI_TOOL_FIND 236
#define IDI_TOOL_RECOVER 242
#define IDI_TOOL_OPEN 342
// The find dialog's "Select All" check box: checked (in) and not (out).
#define IDI_SELECT_ALL_IN 298
#define IDI_SELECT_ALL_OUT 299
#define IDI_BROWSE 372
// The message box's information, error, question and warning marks (32 x 32, 48 x 48, 16 x 16).

// ---- cursors ----------------------------------------------------------------------------------------
#define IDC_CHECK_BOX_CURSOR 249
#define IDC_EXPAND_CURSOR 250
#define IDC_HAND_CURSOR 264
#define IDC_PRESSED_HAND_CURSOR 265

// ---- controls of the pages (created in code) ---------------------------------------------------------
#define IDC_QUICK_SCAN 131
#define IDC_STOP 132            // also the File Trace mode button of page 0
#define IDC_FILE_TRACE 132
#define IDC_EXTENSIVE_SCAN 133
#define IDC_SOURCE_TREE 156
#define IDC_SOURCE_SPLITTER 157
#define IDC_NEXT 159
#define IDC_BACK 160
#define IDC_RESULT_TREE 162
#define IDC_SCAN_SPLITTER 164
#define IDC_RESULT_LIST 165
#define IDC_TITLE_LINE 170
#define IDC_INNER_SPLITTER 181
// The splitters of pages 2 and 3 and of the Access database preview: each keeps its split under a
// profile section of its own (pages 1 and 4 have 157 and 164).
#define IDC_SCAN_PAGE_SPLITTER 171
#define IDC_FILE_SYSTEMS_SPLITTER 172
#define IDC_DATABASE_SPLITTER 173
#define IDC_ROW_CAPTION_1 32812  // to 32816
#define IDC_ROW_VALUE_1 32817    // to 32821
#define IDC_PROGRESS_BAR 61457
#define IDC_SELECT_FILE_SYSTEM_LABEL 61458
#define IDC_START_SECTOR_LABEL 61459
#define IDC_END_SECTOR_LABEL 61460
#define IDC_END_SECTOR 61461
#define IDC_START_SECTOR 61462
#define IDC_FILE_SYSTEM_LIST 61463
#define IDC_STATUS_LINE 61467    // also the disk-space pie of page 2
#define IDC_GROUP_BOX 61479
#define IDC_HOME 61481
#define IDC_PAGE_STATIC_1 61482
#define IDC_PAGE_STATIC_2 61484
#define IDC_HIDE_PROGRESS 61486
#define IDC_HIDE_PROGRESS_NOTE 61487
#define IDC_SELECTED_SIZE 61488
#define IDC_BROWSE 61491
#define IDC_IMAGE_PATH 61492

// ---- controls of the dialogs -------------------------------------------------------------------------
// "Please Select"
#define IDC_USE_EXISTING_PARTITIONS 1091
#define IDC_SEARCH_PARTITIONS 1092
#define IDC_PARTITION_CHOICE_GROUP 1093
// "Drive Information": a label and a value per row.
#define IDC_DRIVE_LABEL_1 1400   // to 1407
#define IDC_DRIVE_VALUE_1 1408   // to 1415
// "Find File(s)"
#define IDC_FIND_PATTERN 1032
#define IDC_FIND_PATTERN_LABEL 1033
#define IDC_FIND_LAST_FILE_LABEL 1035
#define IDC_FIND_LAST_FILE 1036
#define IDC_FIND_COUNT_LABEL 1037
#define IDC_FIND_COUNT 1038
#define IDC_FIND_STOP 1039
#define IDC_FIND_RESULTS 1040
#define IDC_FIND_SELECT_ALL 1070
#define IDC_FIND_SAVE 1080
#define IDC_FIND_STATUS 1089
// "Recovery Settings"
#define IDC_SECTORS_GROUP 1016
#define IDC_DUPLICATES_GROUP 1017
#define IDC_DELETED_GROUP 1018
#define IDC_BAD_SECTORS_GROUP 1019
#define IDC_SECTORS_PER_READ 1046
#define IDC_SECTORS_LABEL 1047
#define IDC_RENAME_DUPLICATES 1048
#define IDC_OVERWRITE_DUPLICATES 1049
#define IDC_SKIP_DUPLICATES 1050
#define IDC_INCLUDE_DELETED 1051
#define IDC_ONLY_DELETED 1052
#define IDC_EXCLUDE_DELETED 1053
#define IDC_RETRIES_LABEL 1054
#define IDC_RETRIES 1055
// "File Filters"
#define IDC_FILTER_REMOVE 1062
#define IDC_FILTER_LIST 1063
#define IDC_FILTER_EDIT 1064
// "File/Folder Properties" and "Saving the data please wait" (1043 is the name in both)
#define IDC_ITEM_NAME 1043
#define IDC_ITEM_CREATED 1066
#define IDC_ITEM_MODIFIED 1067
#define IDC_ITEM_SIZE 1068
#define IDC_ITEM_CONTAINS 1069
#define IDC_SKIP_FILE 1071
#define IDC_FILE_NAME_LABEL 1073
#define IDC_SAVE_PROGRESS 1074
#define IDC_TOTAL_FILES 1075
#define IDC_SAVE_PATH 1076
#define IDC_SAVE_PATH_LABEL 1077
#define IDC_TOTAL_FILES_LABEL 1078
// Progress
#define IDC_PROGRESS_PERCENT 1082
#define IDC_PROGRESS 1083
// "File Types"
#define IDC_FILE_TYPES_TREE 1085
#define IDC_FILE_TYPES_NOTE 1101
#define IDC_FILE_SIZE_LIST 1105
#define IDC_FILE_SIZE_LABEL 1107
// "Select VHD File"
#define IDC_VHD_PATH 1420
#define IDC_VHD_BROWSE 1421
// About
#define IDC_ABOUT_PRODUCT 1430
#define IDC_ABOUT_VERSION 1431
#define IDC_ABOUT_LEGAL 1432
#define IDC_ABOUT_HOME_PAGE 1433
#define IDC_ABOUT_SUPPORT_MAIL 1434
#define IDC_ABOUT_SALES_MAIL 1435
#define IDC_ABOUT_PRODUCTS 1436
