#pragma once

#include <cstdint>
#include <string>

class CSearchTarget;

// What find and replace need of the window: the active pane, the find or
// replace dialog, and the "not found" message.
class CFindUi {
public:
    enum class DialogKind { find, replace };

    virtual ~CFindUi() = default;

    // The active pane's text, or none when there is no pane.
    virtual CSearchTarget* ActiveTarget() = 0;

    // Opens the modeless dialog with its fields and boxes preset; false when
    // it could not be created.
    virtual bool OpenDialog(DialogKind kind, const std::string& findText, const std::string& replaceText,
                            std::uint32_t flags) = 0;
    virtual void BringDialogToFront() = 0;

    // "Search string not found", with an exclamation icon.
    virtual void ShowNotFound() = 0;
};
