// Command ids of menus, toolbars and accelerators. The ranges in use and how to take
// the next free id: README, "Ids"; a command id added twice fails CommandIdsTest.
#pragma once

enum CommandId : int {
    // File and modes.
    ID_FILE_CNV = 32772,
    ID_FILE_LIS = 32779,
    ID_FILE_QTX = 32773,
    ID_FILE_PRINT_SETUP = 57606,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    // View and Window.
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_CONTROL_BAR = 32799,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,
    ID_WINDOW_CLOSE_ALL = 32798,
    // Help.
    ID_HELP_INDEX = 57666,
    ID_HELP_FINDER = 57667,
    ID_HELP_USING = 57668,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    // Scanning and conversion.
    ID_SCAN_QTX = 32775,
    ID_SCAN_CNV = 32774,
    ID_SCAN_LIS = 32821,
    ID_LIS_TO_QTX = 32771,
    ID_QTX_TO_LIS = 32809,
    ID_DICTIONARY = 32803,
    ID_CONVERT_CNV = 32840,
    // Display.
    ID_DISPLAY_TIME = 32785,
    ID_DISPLAY_FREQUENCY = 32786,
    ID_DISPLAY_SLOWNESS = 32787,
    ID_DISPLAY_AZIMUTH = 32806,
    ID_DISPLAY_VDL = 32794,
    ID_DISPLAY_LOG = 32837,
    ID_DISPLAY_MAP = 32795,
    ID_DISPLAY_XPLOT = 32808,
    ID_UTILITIES_TOOLS = 32796,
    ID_UTILITIES_HEADER = 32813, // dormant: no handler in this edition
    // Dormant processing commands (no handler in this edition; held: DormantCommandIds()).
    ID_PROCESS_QUICKLOOK = 32781,
    ID_PROCESS_FILTER = 32776,
    ID_PROCESS_SMOOTH = 32792,
    ID_PROCESS_PROFILE = 32793,
    ID_PROCESS_PICK = 32789,
    ID_PROCESS_DISPERSION = 32791,
    ID_PROCESS_TIMESLOWNESS = 32790,
    ID_PROCESS_ANISOTROPY = 32805,
    ID_PROCESS_KALMAN = 32811,
    // Display toolbar and pop-up menu.
    ID_POPUP = 32801,
    ID_MNEMONICS = 32804,
    ID_ZOOM_RESET = 32217,
    ID_ZOOM_IN = 32215,
    ID_ZOOM_OUT = 32216,
    ID_DEPTH_ZOOM_IN = 32826,
    ID_DEPTH_ZOOM_OUT = 32824,
    ID_DATA_ZOOM_IN = 32822,
    ID_DATA_ZOOM_OUT = 32823,
    ID_RECEIVER_1 = 32207,  // R1..R8: 32207..32214
    ID_RECEIVER_9 = 40000,  // R9..R13: 40000..40004
    ID_SAVE_PROFILE = 32836,
    ID_RED_PEN = 32815,
    ID_GREEN_PEN = 32820,
    ID_BLUE_PEN = 32814,
    ID_BLACK_PEN = 32816,
    ID_WHITE_PEN = 32828,
    ID_THIN_PEN = 32829,
    ID_THICK_PEN = 32830,
    ID_WHITE_BACKGROUND = 32817,
    ID_YELLOW_BACKGROUND = 32818,
    ID_GRAY_BACKGROUND = 32819,
    ID_SINGLE_RECEIVER = 32833,
    ID_HELP_CONTENTS = 32834, // pop-up "&Contents": no handler
    ID_HELP_USING_POPUP = 32835, // pop-up "&Using Help": no handler
};

// Receiver n (1..13) and its command id.
constexpr int ReceiverCommand(int n) { return n <= 8 ? ID_RECEIVER_1 + n - 1 : ID_RECEIVER_9 + n - 9; }

enum MenuResource : int {
    kMenuStart = 128,
    kMenuPopup = 130,
    kMenuLis = 136,
    kMenuCnv = 137,
    kMenuQtx = 138,
    kMenuReducedQtx = 139,
};

enum ToolBarResource : int {
    kToolBarDisplay = 132,
    kToolBarLis = 136,
    kToolBarCnv = 137,
    kToolBarQtx = 138,
};
