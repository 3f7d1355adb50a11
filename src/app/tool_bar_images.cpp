#include "app/tool_bar_images.h"

#include "app/command_ids.h"

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/imagpng.h>

#include <cstring>

#include "res/images_png.h"

namespace {

constexpr char kIconName[] = "tarnwell";

const res::PngImage* FindImage(const char* name, int size) {
    for (const res::PngImage& image : res::kPngImages)
        if (image.size == size && std::strcmp(image.name, name) == 0) return &image;
    return nullptr;
}

wxBitmap Bitmap(const char* name, int size) {
    const res::PngImage* image = FindImage(name, size);
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    return image != nullptr ? wxBitmap::NewFromPNGData(image->data, image->length) : wxBitmap();
}

const char* ImageName(int id) {
    switch (id) {
        case wxID_NEW: return "new";
        case wxID_OPEN: return "open";
        case wxID_SAVE: return "save";
        case wxID_CUT: return "cut";
        case wxID_COPY: return "copy";
        case wxID_PASTE: return "paste";
        case wxID_FIND: return "find";
        case ID_PREVIOUS_SCRIPT: return "previous_script";
        case ID_NEXT_SCRIPT: return "next_script";
        case ID_SAVE_OUTPUT: return "save_output";
        case ID_FIND_NEXT: return "find_next";
        case ID_CLEAR_OUTPUT: return "clear_output";
        case ID_EXECUTE: return "execute";
        case ID_CANCEL_EXECUTION: return "cancel_execution";
        case ID_EXECUTE_STATEMENT: return "execute_statement";
        case ID_HISTORY: return "history";
        default: return nullptr;
    }
}

}  // namespace

wxBitmapBundle ToolBarImage(int id) {
    const char* name = ImageName(id);
    if (name == nullptr) return {};
    return wxBitmapBundle::FromBitmaps(Bitmap(name, 16), Bitmap(name, 32));
}

std::vector<int> AppIconSizes() {
    std::vector<int> sizes;
    for (const res::PngImage& image : res::kPngImages)
        if (std::strcmp(image.name, kIconName) == 0) sizes.push_back(image.size);
    return sizes;
}

wxIconBundle AppIcons() {
    wxIconBundle icons;
    for (const int size : AppIconSizes()) {
        wxIcon icon;
        icon.CopyFromBitmap(Bitmap(kIconName, size));
        icons.AddIcon(icon);
    }
    return icons;
}

std::string AppIconPng(int size) {
    const res::PngImage* image = FindImage(kIconName, size);
    return image != nullptr ? std::string(reinterpret_cast<const char*>(image->data), image->length) : std::string();
}
