// Resource and command ids of the UI toolkit (its code names them by number). Included by resource.h.
#pragma once

// ---- bitmaps: the caption's push pin (in, out) and close images, 16 x 15 on magenta ---------------------
#define IDB_TK_CAPTION_BUTTONS 9002
#define IDB_TK_EXPAND 9197          // the task panel's expand button, recoloured to the caption colour
#define IDB_TK_EXPAND_SPECIAL 9198  // the same for special groups
#define IDB_TK_SYSTEM_COMMANDS 9407  // restore, minimize, maximize, close; 16 x 16 on magenta
// The docking guides on pure green: the plate behind the cross, the arrows and centre button of the first
// style (one strip per colour scheme: blue, olive, silver), and the second style in one strip.
#define IDB_TK_GUIDE_CENTRE 9903
#define IDB_TK_GUIDES 9904
#define IDB_TK_GUIDES_OLIVE 9905
#define IDB_TK_GUIDES_SILVER 9906
#define IDB_TK_GUIDES_ROUND 9910

// ---- cursors ------------------------------------------------------------------------------------------
#define IDC_TK_DRAG_COPY 9008
#define IDC_TK_DRAG_NONE 9009    // nowhere to drop
#define IDC_TK_DRAG_MOVE 9011
#define IDC_TK_SPLIT_HORZ 9970   // over a bar that moves left and right
#define IDC_TK_SPLIT_VERT 9971   // over a bar that moves up and down
#define IDC_TK_CUSTOMIZE_RESIZE 9972  // over the resizable edge of a field in customize mode
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
// The button image editor: its dialog, toolbar strips (32-bit with alpha, and on the toolbar face), the
// placeholders of its toolbars, colours, picture and preview, its pickers and palette, its tool and move
// commands (their strings "\nTip"), its cursors and the import filter.
#define IDD_TK_IMAGE_EDITOR 9351
#define IDB_TK_IMAGE_EDITOR_TOOLS 9352
#define IDB_TK_IMAGE_EDITOR_TOOLS32 9353
#define ID_TK_EDITOR_MOVE_LEFT 9354  // also the Move toolbar's placeholder
#define ID_TK_EDITOR_MOVE_DOWN 9355
#define ID_TK_EDITOR_MOVE_UP 9356
#define ID_TK_EDITOR_MOVE_RIGHT 9357
#define IDC_TK_EDITOR_TOOLS 9358
#define IDC_TK_EDITOR_TRANSPARENT 9359
#define IDC_TK_EDITOR_CUSTOM 9360
#define IDC_TK_EDITOR_PICTURE 9361
#define IDC_TK_EDITOR_PREVIEW 9362
#define ID_TK_EDITOR_PENCIL 9363
#define ID_TK_EDITOR_FILL 9364
#define ID_TK_EDITOR_PICK_COLOR 9365
#define ID_TK_EDITOR_LINE 9366
#define ID_TK_EDITOR_RECTANGLE 9367
#define ID_TK_EDITOR_ELLIPSE 9368
#define ID_TK_EDITOR_COPY 9369
#define ID_TK_EDITOR_PASTE 9370
#define ID_TK_EDITOR_CLEAR 9371
#define ID_TK_EDITOR_UNDO 9372
#define ID_TK_EDITOR_REDO 9373
#define ID_TK_EDITOR_IMPORT 9374
#define IDC_TK_EDITOR_SHAPE_CURSOR 9375
#define IDC_TK_EDITOR_PICK_CURSOR 9376
#define IDC_TK_EDITOR_FILL_CURSOR 9377
#define IDC_TK_EDITOR_PENCIL_CURSOR 9378
#define IDC_TK_EDITOR_COLORS 9379  // the palette's placeholder: not 9357, which moves the image right
#define IDS_TK_EDITOR_IMPORT_FILTER 9396
#define IDC_TK_EDITOR_PALETTE_FIRST 9450  // to 9496: the palette swatches, their strings the colour names
// The customize dialog: its pages (toolbars, commands, keyboard, options), the new-toolbar dialog, the
// context menu of customize mode with its commands, the drag cursors and the strings. The dialogs' ids
// are resource names of their own kind: the keyboard page's 9379 lives beside the image editor's control
// 9379 without meeting it.
#define IDS_TK_ADD_OR_REMOVE 9300
#define IDC_TK_CUSTOMIZE_COPY 9301
#define IDC_TK_CUSTOMIZE_MOVE 9302
#define IDC_TK_CUSTOMIZE_NODROP 9303
#define IDD_TK_CUSTOMIZE_TOOLBARS 9304
#define IDC_TK_TOOLBARS_LIST 9305
#define IDS_TK_CUSTOMIZE_CLOSE 9307
#define IDC_TK_TOOLBARS_NEW 9308
#define IDC_TK_TOOLBARS_RENAME 9309
#define IDC_TK_TOOLBARS_DELETE 9310
#define IDC_TK_TOOLBARS_RESET 9311
#define IDS_TK_CUSTOMIZE 9312
#define IDD_TK_CUSTOMIZE_COMMANDS 9313
#define IDS_TK_NEW_MENU 9314
#define ID_TK_CUSTOMIZE_RESET 9315
#define ID_TK_CUSTOMIZE_DELETE 9316
#define ID_TK_CUSTOMIZE_NAME 9317
#define ID_TK_CUSTOMIZE_COPY_IMAGE 9318
#define ID_TK_CUSTOMIZE_PASTE_IMAGE 9319
#define ID_TK_CUSTOMIZE_RESET_IMAGE 9320
#define ID_TK_CUSTOMIZE_EDIT_IMAGE 9321
#define ID_TK_CUSTOMIZE_CHANGE_IMAGE 9322
#define ID_TK_CUSTOMIZE_DEFAULT_STYLE 9323
#define ID_TK_CUSTOMIZE_IMAGE_AND_TEXT 9324
#define ID_TK_CUSTOMIZE_TEXT_ONLY 9325
#define ID_TK_CUSTOMIZE_BEGIN_GROUP 9326
#define IDC_TK_COMMANDS_LIST 9327
#define IDD_TK_NEW_TOOLBAR 9328
#define IDC_TK_NEW_TOOLBAR_NAME 9329
#define IDS_TK_CUSTOM_TOOLBAR_NAME 9330
#define IDS_TK_TOOLBAR_NAME_BLANK 9331
#define IDS_TK_TOOLBAR_LIMIT 9332
#define IDS_TK_TOOLBAR_NAME_TAKEN 9333
#define IDS_TK_RENAME_TOOLBAR 9334
#define IDS_TK_DELETE_TOOLBAR 9335
#define IDR_TK_CUSTOMIZE_MENU 9336
#define IDS_TK_ALL_COMMANDS 9337
#define IDC_TK_COMMANDS_CATEGORIES 9338
#define IDD_TK_CUSTOMIZE_OPTIONS 9339
#define IDC_TK_FULL_MENUS 9340
#define IDC_TK_FULL_MENUS_DELAY 9341
#define IDC_TK_RESET_USAGE 9342
#define IDC_TK_LARGE_ICONS 9343
#define IDC_TK_TOOLTIPS 9344
#define IDC_TK_TOOLTIP_SHORTCUTS 9345
#define IDS_TK_RESET_USAGE 9346
#define IDS_TK_RESET_TOOLBAR 9349
#define IDS_TK_BUILT_IN_MENUS 9350
#define IDC_TK_HEADING_PERSONALIZED 9352  // a control: not the image editor's bitmap of the same number
#define IDC_TK_HEADING_OTHER 9353
#define IDD_TK_CUSTOMIZE_KEYBOARD 9379
#define IDC_TK_KEYS_COMMANDS_LABEL 9380
#define IDC_TK_KEYS_COMMANDS 9381
#define IDC_TK_KEYS_ASSIGNED_LABEL 9382
#define IDC_TK_KEYS_ASSIGNED 9383
#define IDC_TK_KEYS_NEW_LABEL 9384
#define IDC_TK_KEYS_NEW 9385
#define IDC_TK_KEYS_ASSIGN 9386
#define IDC_TK_KEYS_REMOVE 9387
#define IDC_TK_KEYS_RESET_ALL 9388
#define IDC_TK_KEYS_DESCRIPTION_LABEL 9389
#define IDC_TK_KEYS_DESCRIPTION 9390
#define IDC_TK_KEYS_CATEGORY 9391
#define IDS_TK_RESET_KEYS 9392
#define IDS_TK_KEY_ASSIGNED 9393
#define IDS_TK_TOOLBAR_CHANGED 9394
#define IDS_TK_RESET 9395
#define IDB_TK_CUSTOMIZE_IMAGES 9397  // the predefined button images, 16 x 16 on the toolbar face colour
#define IDC_TK_MENU_ANIMATION 9410
#define IDS_TK_ANIMATION_FIRST 9411  // to 9416: system default, random, unfold, slide, fade, none
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
