#include "app/tarnwell_app.h"

#include <wx/init.h>

#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CTarnwellApp);

int main(int argc, char** argv) {
    // The arguments as bytes, before the toolkit converts them.
    CTarnwellApp::SetArguments(std::vector<std::string>(argv + 1, argv + argc));
    return wxEntry(argc, argv);
}
