// Resource and command ids of the UI toolkit (its code names them by number). Included by resource.h.
#pragma once

// ---- bitmaps: the caption's push pin (in, out) and close images, 16 x 15 on magenta ---------------------
#define IDB_TK_CAPTION_BUTTONS 9002
// The docking guides on pure green: the plate behind the cross, the arrows and centre button of the first
// style (one strip per colour scheme: blue, olive, silver), and the second style in one strip.
#define IDB_TK_GUIDE_CENTRE 9903
#define IDB_TK_GUIDES 9904
#define IDB_TK_GUIDES_OLIVE 9905
#define IDB_TK_GUIDES_SILVER 9906
#define IDB_TK_GUIDES_ROUND 9910

// ---- cursors ------------------------------------------------------------------------------------------
#define IDC_TK_SPLIT_HORZ 9008   // over a bar that moves left and right
#define IDC_TK_SPLIT_VERT 9009   // over a bar that moves up and down
#define IDC_TK_DRAG_MOVE 9011
#define IDC_TK_DRAG_COPY 9970
#define IDC_TK_DRAG_NONE 9971    // nowhere to drop
#define IDC_TK_HAND 9973         // when the system has no hand cursor

// ---- menus: submenu 1 the edit control's, submenu 2 the header's ----------------------------------------
#define IDR_TK_MENUS 9014
// Toolbars (type 241) with the image strip of the same id, 16 x 15 on the toolbar face colour.
#define IDR_TK_HEADER_TOOLBAR 9015
#define IDR_TK_EDIT_TOOLBAR 9017

// ---- strings --------------------------------------------------------------------------------------------
#define IDS_TK_PUSH_PIN_TIP 9036
#define IDS_TK_LINK_ERROR_FIRST 9037  // to 9050: the hyperlink's failures, in the order of their codes

// ---- commands -------------------------------------------------------------------------------------------
#define ID_TK_CAPTION_BUTTON 9115
#define ID_TK_SORT_ASCENDING 9158
#define ID_TK_SORT_DESCENDING 9159
#define ID_TK_ALIGN_LEFT 9160
#define ID_TK_ALIGN_CENTER 9161
#define ID_TK_ALIGN_RIGHT 9162
// The MDI tab client's workspace commands on the active document's tab, and the cancel of their menu.
#define ID_TK_WORKSPACE_PREVIOUS_GROUP 9420
#define ID_TK_WORKSPACE_NEXT_GROUP 9421
#define ID_TK_WORKSPACE_NEW_HORZ_GROUP 9422
#define ID_TK_WORKSPACE_NEW_VERT_GROUP 9423
#define ID_TK_WORKSPACE_CANCEL 9424
// The class library's edit commands, for the resource compiler.
#ifndef ID_EDIT_CLEAR
#define ID_EDIT_CLEAR 57632
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 57634
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 57635
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 57637
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL 57642
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO 57643
#endif
