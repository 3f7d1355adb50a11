#include "app/command_table.h"

#include "app/command_ids.h"

#include <wx/accel.h>
#include <wx/defs.h>

#include <array>
#include <cstring>

namespace {

constexpr AccelKey Ctrl(int key) { return {wxACCEL_CTRL, key}; }
constexpr AccelKey Alt(int key) { return {wxACCEL_ALT, key}; }
constexpr AccelKey Shift(int key) { return {wxACCEL_SHIFT, key}; }
constexpr AccelKey Plain(int key) { return {wxACCEL_NORMAL, key}; }
constexpr AccelKey None() { return {}; }

using M = CommandMenu;

const CommandInfo kCommands[] = {
    {ID_CHANGE_CONNECTION, M::File, "Change &Connection...\tCtrl+D", {Ctrl('D'), None()},
     "Initiate a new connection to database\nChange connection", true},
    {wxID_NEW, M::File, "&New\tCtrl+N", {Ctrl('N'), None()}, "Create a new document\nNew", false},
    {wxID_OPEN, M::File, "&Open...\tCtrl+O", {Ctrl('O'), None()}, "Open an existing document\nOpen", false},
    {wxID_SAVE, M::File, "&Save\tCtrl+S", {Ctrl('S'), None()}, "Save the active document\nSave", false},
    {wxID_SAVEAS, M::File, "Save &As...", {None(), None()}, "Save the active document with a new name\nSave As",
     true},
    {ID_SAVE_OUTPUT, M::File, "Save Out&put...", {None(), None()}, "Save the contents of the output pane\nSave output",
     true},
    {wxID_FILE1, M::File, "Recent File", {None(), None()}, "Open this document", true},
    {wxID_EXIT, M::File, "E&xit", {None(), None()}, "Quit the application; prompts to save documents\nExit", false},

    {wxID_UNDO, M::Edit, "&Undo\tCtrl+Z", {Ctrl('Z'), Alt(WXK_BACK)}, "Undo the last action\nUndo", true},
    {wxID_CUT, M::Edit, "Cu&t\tCtrl+X", {Ctrl('X'), Shift(WXK_DELETE)},
     "Cut the selection and put it on the Clipboard\nCut", false},
    {wxID_COPY, M::Edit, "&Copy\tCtrl+C", {Ctrl('C'), Ctrl(WXK_INSERT)},
     "Copy the selection and put it on the Clipboard\nCopy", false},
    {wxID_PASTE, M::Edit, "&Paste\tCtrl+V", {Ctrl('V'), Shift(WXK_INSERT)}, "Insert Clipboard contents\nPaste", false},
    {wxID_SELECTALL, M::Edit, "Select &All\tCtrl+A", {Ctrl('A'), None()}, "Select the entire document\nSelect All",
     true},
    {wxID_FIND, M::Edit, "&Find...\tCtrl+F", {Ctrl('F'), None()}, "Find the specified text\nFind", false},
    {ID_FIND_NEXT, M::Edit, "Find &Next\tF3", {Plain(WXK_F3), None()}, "Repeat the last find\nFind next", false},
    {wxID_REPLACE, M::Edit, "&Replace...\tCtrl+R", {Ctrl('R'), None()},
     "Replace specific text with different text\nReplace", true},
    {ID_CLEAR_OUTPUT, M::Edit, "C&lear Output", {None(), None()}, "Erase the contents of the output pane\nClear output",
     false},
    {ID_OPTIONS, M::Edit, "&Options...", {None(), None()}, "Modify preferences", false},

    {ID_EXECUTE, M::Commands, "&Execute\tCtrl+Enter", {Ctrl(WXK_RETURN), None()},
     "Execute SQL statement(s) in script pane\nExecute script", false},
    {ID_EXECUTE_STATEMENT, M::Commands, "Execute Current &Statement\tCtrl+Shift+Enter", {{wxACCEL_CTRL | wxACCEL_SHIFT, WXK_RETURN}, None()},
     "Execute the statement under the caret, or the selected text\nExecute current statement", false},
    {ID_CANCEL_EXECUTION, M::Commands, "&Cancel Execution\tEsc", {Plain(WXK_ESCAPE), None()},
     "Stop the running script after what it has printed so far\nCancel execution", true},
    {ID_PREVIOUS_SCRIPT, M::Commands, "&Previous script\tAlt+LeftArrow", {Alt(WXK_LEFT), None()},
     "Go to the previous statement(s)\nPrevious script", false},
    {ID_NEXT_SCRIPT, M::Commands, "&Next script\tAlt+RighArrow", {Alt(WXK_RIGHT), None()},
     "Go to the next statements(s)\nNext script", false},
    {ID_HISTORY, M::Commands, "&History...\tCtrl+H", {Ctrl('H'), None()},
     "Show recently executed SQL statements\nHistory", true},
    {ID_NEXT_ERROR, M::Commands, "Next E&rror\tF8", {Plain(WXK_F8), None()},
     "Go to the next statement of the last run that failed\nNext error", false},
    {ID_PREVIOUS_ERROR, M::Commands, "Pre&vious Error\tShift+F8", {Shift(WXK_F8), None()},
     "Go to the previous statement of the last run that failed\nPrevious error", true},
    {ID_AUTO_COMMIT, M::Commands, "&Auto Commit", {None(), None()},
     "Commit every statement on its own; when off, Commit or Rollback ends the transaction\nAuto commit", false,
     true},
    {ID_COMMIT, M::Commands, "Co&mmit\tCtrl+Shift+C", {{wxACCEL_CTRL | wxACCEL_SHIFT, 'C'}, None()},
     "Make the changes of the open transaction permanent\nCommit", false},
    {ID_ROLLBACK, M::Commands, "Ro&llback\tCtrl+Shift+R", {{wxACCEL_CTRL | wxACCEL_SHIFT, 'R'}, None()},
     "Undo the changes of the open transaction\nRollback", true},
    {ID_DESCRIBE, M::Commands, "&Describe\tF4", {Plain(WXK_F4), None()},
     "Show the columns and primary key of the table under the caret\nDescribe", false},

    {wxID_ABOUT, M::Help, "&About Tarnwell...", {None(), None()},
     "Display program information, version number and copyright\nAbout", false},

    {ID_NEXT_PANE, M::None, nullptr, {Plain(WXK_F6), None()}, "Switch to the next window pane\nNext Pane", false},
};

constexpr int kToolBar[] = {
    wxID_NEW,  wxID_OPEN,    wxID_SAVE,       ID_SAVE_OUTPUT,     0,
    wxID_CUT,  wxID_COPY,    wxID_PASTE,      wxID_FIND,          ID_FIND_NEXT, ID_CLEAR_OUTPUT, 0,
    ID_EXECUTE, ID_EXECUTE_STATEMENT, ID_CANCEL_EXECUTION, ID_PREVIOUS_SCRIPT, ID_NEXT_SCRIPT, ID_HISTORY,
};

}  // namespace

std::span<const CommandInfo> CommandTable() { return kCommands; }

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
}

std::span<const int> ToolBarLayout() { return kToolBar; }

const char* MenuTitle(CommandMenu menu) {
    switch (menu) {
        case CommandMenu::File: return "&File";
        case CommandMenu::Edit: return "&Edit";
        case CommandMenu::Commands: return "&Commands";
        case CommandMenu::Help: return "&Help";
        case CommandMenu::None: break;
    }
    return "";
}

PromptParts SplitPrompt(const char* text) {
    const char* newline = std::strchr(text, '\n');
    if (!newline) return {text, std::strlen(text), ""};
    return {text, static_cast<std::size_t>(newline - text), newline + 1};
}
