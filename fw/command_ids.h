// Commands and strings the framework handles by itself; a program's resources name them too.
// Plain defines, so that the resource compiler reads this header as well.
#ifndef FW_COMMAND_IDS_H
#define FW_COMMAND_IDS_H

#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_HELP 57670
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define IDS_IDLE_MESSAGE 57345
// The child window id of a frame's view.
#define ID_VIEW_PANE 59648
#endif
