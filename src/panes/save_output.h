#pragma once

#include <functional>
#include <string>

class wxWindow;

// Save Output: writes the output pane's whole text to a text file that the
// user chooses, replacing the file's content. A failure is shown in a message
// box with a stop icon, naming the file.
class CSaveOutput {
public:
    // getText returns the pane's text; it is read only after a file has been
    // chosen, so the saved text is the pane as it stands at that moment.
    static void Run(wxWindow* parent, const std::function<std::string()>& getText);
};
