#include "app/scroll_shading.h"

#include "app/gtk_functions.h"

#include <wx/window.h>

void RemoveScrollShading(wxWindow& window) {
    const GtkFunctions* gtk = GtkFunctions::Get();
    void* widget = window.GetHandle();
    if (gtk == nullptr || widget == nullptr) return;
    void* provider = gtk->css_provider_new();
    static const char kSheet[] =
        "scrolledwindow overshoot.left, scrolledwindow overshoot.right, scrolledwindow overshoot.top, "
        "scrolledwindow overshoot.bottom, scrolledwindow undershoot.left, scrolledwindow undershoot.right, "
        "scrolledwindow undershoot.top, scrolledwindow undershoot.bottom { background: none; }";
    if (gtk->css_provider_load_from_data(provider, kSheet, -1, nullptr))
        gtk->style_context_add_provider(gtk->widget_get_style_context(widget), provider, GtkFunctions::kApplicationPriority);
    gtk->object_unref(provider);
}
