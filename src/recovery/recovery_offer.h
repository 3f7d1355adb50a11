#pragma once

#include <string>

class CScript;
class wxWindow;

// At start: the scripts that windows no longer running left in the
// recovery folder are offered one by one, newest first, each with Recover,
// Discard and Later. Recover puts that text into script as a modified
// script and ends the questions (the others wait for the next start, as one
// window holds one script); Discard removes the file; Later keeps it.
class CRecoveryOffer {
public:
    static void Run(const std::string& folder, CScript& script, wxWindow* parent);
};
