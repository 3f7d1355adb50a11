#include "app/command_line.h"
#include "app/tarnwell_app.h"
#include "db/data_source_list.h"

#include <wx/init.h>

#include <cstdio>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CTarnwellApp);

int main(int argc, char** argv) {
    // The arguments as bytes, before the toolkit converts them.
    std::vector<std::string> args(argv + 1, argv + argc);
    // Answered before the toolkit starts, which needs a display.
    const CommandLine line = ParseCommandLine(args);
    if (line.help || line.version) {
        std::fputs((line.help ? CommandLine::HelpText() : CommandLine::VersionText()).c_str(), stdout);
        return 0;
    }
    if (line.listDataSources && line.error.empty()) {
        std::fputs(CDataSourceList::Text(CDataSourceList::Read()).c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    CTarnwellApp::SetArguments(std::move(args));
    return wxEntry(argc, argv);
}
