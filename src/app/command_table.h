#pragma once

#include <span>

// The menu a command appears in.
enum class CommandMenu { None, File, Edit, Commands, Help };

// One accelerator: wxACCEL_* flags and a wx key code; keyCode 0 means none.
struct AccelKey {
    int flags = 0;
    int keyCode = 0;
};

// One command of the worksheet: the same id reaches its handler from the
// menu, the accelerators and the tool bar.
struct CommandInfo {
    int id;
    CommandMenu menu;
    const char* text;       // menu entry as stored ("\t" before the shortcut shown); nullptr: none
    AccelKey keys[2];       // its accelerators
    const char* prompt;     // status-bar prompt, then "\n" and the tool tip (if any)
    bool separatorAfter;    // the menu shows a separator after the entry
    bool check = false;     // a check item (its handler's update event checks it)
};

// All commands, in menu order (File, Edit, Commands, Help, then the ones
// without a menu entry).
std::span<const CommandInfo> CommandTable();

// The entry of id, or nullptr.
const CommandInfo* FindCommand(int id);

// The tool bar from left to right; 0 stands for a gap.
std::span<const int> ToolBarLayout();

// The menu titles, in order.
const char* MenuTitle(CommandMenu menu);

// Prompt and tool tip of a command's prompt text.
struct PromptParts {
    const char* prompt;
    std::size_t promptLength;
    const char* toolTip;    // "" when the text has no "\n"
};
PromptParts SplitPrompt(const char* text);
