#include "app/tool_bar_images.h"

#include "app/command_ids.h"

#include <wx/artprov.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/mstream.h>

#include "res/cancel_execution.xpm"
#include "res/clear_output.xpm"
#include "res/execute.xpm"
#include "res/execute_statement.xpm"
#include "res/find_next.xpm"
#include "res/history.xpm"
#include "res/save_output.xpm"
#include "res/tarnwell_16.xpm"
#include "res/tarnwell_32.xpm"

namespace {

constexpr int kImageSize = 16;

wxBitmap Art(const wxArtID& art) {
    return wxArtProvider::GetBitmap(art, wxART_TOOLBAR, wxSize(kImageSize, kImageSize));
}

}  // namespace

wxBitmap ToolBarImage(int id) {
    switch (id) {
        case wxID_NEW: return Art(wxART_NEW);
        case wxID_OPEN: return Art(wxART_FILE_OPEN);
        case wxID_SAVE: return Art(wxART_FILE_SAVE);
        case wxID_CUT: return Art(wxART_CUT);
        case wxID_COPY: return Art(wxART_COPY);
        case wxID_PASTE: return Art(wxART_PASTE);
        case wxID_FIND: return Art(wxART_FIND);
        case ID_PREVIOUS_SCRIPT: return Art(wxART_GO_BACK);
        case ID_NEXT_SCRIPT: return Art(wxART_GO_FORWARD);
        case ID_SAVE_OUTPUT: return wxBitmap(save_output_xpm);
        case ID_FIND_NEXT: return wxBitmap(find_next_xpm);
        case ID_CLEAR_OUTPUT: return wxBitmap(clear_output_xpm);
        case ID_EXECUTE: return wxBitmap(execute_xpm);
        case ID_CANCEL_EXECUTION: return wxBitmap(cancel_execution_xpm);
        case ID_EXECUTE_STATEMENT: return wxBitmap(execute_statement_xpm);
        case ID_HISTORY: return wxBitmap(history_xpm);
        default: return wxBitmap();
    }
}

wxIconBundle AppIcons() {
    wxIconBundle icons;
    icons.AddIcon(wxIcon(tarnwell_16_xpm));
    icons.AddIcon(wxIcon(tarnwell_32_xpm));
    return icons;
}

std::string AppIconPng(int size) {
    if (size != 16 && size != 32) return {};
    const wxImage image(size == 16 ? tarnwell_16_xpm : tarnwell_32_xpm);
    if (!image.IsOk()) return {};
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    wxMemoryOutputStream out;
    if (!image.SaveFile(out, wxBITMAP_TYPE_PNG)) return {};
    std::string png(static_cast<std::size_t>(out.GetLength()), '\0');
    out.CopyTo(png.data(), png.size());
    return png;
}
