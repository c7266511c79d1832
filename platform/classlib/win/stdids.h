// The standard command, string and window ids that the library and the program's windows share.
// Macros, each written as the program's resource header writes it (decimal), so that either header may
// come first: a second identical definition is no redefinition.
#pragma once

// ---- strings --------------------------------------------------------------------------------------
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344    // 0xE000: the application's name
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 57345  // 0xE001: the status text when nothing else is shown ("Ready")
#endif
#ifndef AFX_IDS_UNTITLED
#define AFX_IDS_UNTITLED 61443     // 0xF003: the title of a document without a name
#endif

// ---- commands -------------------------------------------------------------------------------------
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 57600            // 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 57601           // 0xE101
#endif
#ifndef ID_FILE_CLOSE
#define ID_FILE_CLOSE 57602          // 0xE102
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 57603           // 0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS 57604        // 0xE104
#endif
#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 57606    // 0xE106
#endif
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 57607          // 0xE107
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 57609  // 0xE109
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 57616      // 0xE110: the recent files are 0xE110 to 0xE11F
#endif
#ifndef ID_FILE_MRU_LAST
#define ID_FILE_MRU_LAST 57631       // 0xE11F
#endif
#ifndef ID_EDIT_CLEAR
#define ID_EDIT_CLEAR 57632          // 0xE120
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 57634           // 0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 57635            // 0xE123
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 57637          // 0xE125
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL 57642     // 0xE12A
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO 57643           // 0xE12B
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664           // 0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 57665            // 0xE141
#endif
#ifndef ID_HELP
#define ID_HELP 57670                // 0xE146
#endif
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR 59392        // 0xE800
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR 59393     // 0xE801
#endif
#ifndef ID_VIEW_LIST
#define ID_VIEW_LIST 59410           // 0xE812
#endif
#ifndef ID_VIEW_DETAILS
#define ID_VIEW_DETAILS 59411        // 0xE813
#endif

// ---- status bar indicators (their strings are the texts the panes show) ---------------------------
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 59137      // 0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 59138       // 0xE702
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL 59139      // 0xE703
#endif

// ---- child windows of a frame ---------------------------------------------------------------------
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 59392        // 0xE800
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 59393     // 0xE801
#endif
#ifndef AFX_IDW_REBAR
#define AFX_IDW_REBAR 59396          // 0xE804
#endif
#ifndef AFX_IDW_DOCKBAR_TOP
#define AFX_IDW_DOCKBAR_TOP 59419    // 0xE81B
#endif
#ifndef AFX_IDW_DOCKBAR_LEFT
#define AFX_IDW_DOCKBAR_LEFT 59420   // 0xE81C
#endif
#ifndef AFX_IDW_DOCKBAR_RIGHT
#define AFX_IDW_DOCKBAR_RIGHT 59421  // 0xE81D
#endif
#ifndef AFX_IDW_DOCKBAR_BOTTOM
#define AFX_IDW_DOCKBAR_BOTTOM 59422 // 0xE81E
#endif
// The first pane of a frame: the window the frame's layout gives what its bars leave.
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 59648     // 0xE900
#endif
#ifndef AFX_IDW_PANE_LAST
#define AFX_IDW_PANE_LAST 59903      // 0xE9FF
#endif
