#pragma once

#include <wx/defs.h>

// The program's own command ids; standard commands use wx's standard ids
// (wxID_NEW, wxID_OPEN, wxID_SAVE, wxID_SAVEAS, wxID_EXIT, wxID_UNDO,
// wxID_CUT, wxID_COPY, wxID_PASTE, wxID_SELECTALL, wxID_FIND, wxID_REPLACE,
// wxID_ABOUT, wxID_FILE1..wxID_FILE4). Find Next, Next Pane and the newer
// commands have no standard id in wx; theirs lie just above wx's reserved range, as menu ids
// must stay below 32768.
enum : int {
    ID_SAVE_OUTPUT = 12772,
    ID_EXECUTE = 12773,
    ID_PREVIOUS_SCRIPT = 12774,
    ID_NEXT_SCRIPT = 12775,
    ID_HISTORY = 12778,
    ID_CLEAR_OUTPUT = 12790,
    ID_CHANGE_CONNECTION = 12793,
    ID_OPTIONS = 12794,
    ID_FIND_NEXT = wxID_HIGHEST + 1,
    ID_NEXT_PANE = wxID_HIGHEST + 2,
    ID_CANCEL_EXECUTION = wxID_HIGHEST + 3,
    ID_EXECUTE_STATEMENT = wxID_HIGHEST + 4,
    ID_NEXT_ERROR = wxID_HIGHEST + 5,
    ID_PREVIOUS_ERROR = wxID_HIGHEST + 6,
    ID_AUTO_COMMIT = wxID_HIGHEST + 7,
    ID_COMMIT = wxID_HIGHEST + 8,
    ID_ROLLBACK = wxID_HIGHEST + 9,
    ID_DESCRIBE = wxID_HIGHEST + 10,
};
