#include "app/menu_shortcut_text.h"

#include "app/gtk_functions.h"

#include <wx/menuitem.h>

namespace {

// The label widget of the shortcut text, kept on the entry's widget.
constexpr const char* kShortcutKey = "tarnwell-shortcut-label";
// Room between an entry's label and its shortcut text, in pixels.
constexpr int kGap = 24;

void* EntryWidget(const wxMenuItem& item) {
#ifdef __WXGTK__
    return item.GetMenuItem();
#else
    (void)item;
    return nullptr;
#endif
}

}  // namespace

bool SetMenuShortcutText(wxMenuItem& item, const wxString& shortcut) {
    const GtkFunctions* gtk = GtkFunctions::Get();
    void* entry = EntryWidget(item);
    if (gtk == nullptr || entry == nullptr) return false;

    GtkFunctions::ListNode* closures = gtk->widget_list_accel_closures(entry);
    for (GtkFunctions::ListNode* node = closures; node != nullptr; node = node->next) {
        if (void* group = gtk->accel_group_from_accel_closure(node->data))
            gtk->accel_group_disconnect(group, node->data);
    }
    gtk->list_free(closures);
    // The entry holds one child, its label. Told to show the entry's keys, it
    // would show the ones just taken away as "-/-".
    void* label = gtk->bin_get_child(entry);
    if (label == nullptr) return false;
    if (gtk->type_check_instance_is_a(label, gtk->accel_label_get_type()))
        gtk->accel_label_set_accel_widget(label, nullptr);
    if (shortcut.empty() || gtk->object_get_data(entry, kShortcutKey) != nullptr) return true;

    // The label and the shortcut text side by side in a box instead.
    gtk->object_ref(label);
    gtk->container_remove(entry, label);
    void* box = gtk->box_new(GtkFunctions::kHorizontal, kGap);
    gtk->box_pack_start(box, label, 1, 1, 0);
    gtk->object_unref(label);
    void* text = gtk->label_new(shortcut.utf8_str());
    gtk->style_context_add_class(gtk->widget_get_style_context(text), "dim-label");
    gtk->box_pack_end(box, text, 0, 0, 0);
    gtk->container_add(entry, box);
    gtk->widget_show_all(box);
    gtk->object_set_data(entry, kShortcutKey, text);
    return true;
}

wxString MenuShortcutText(const wxMenuItem& item) {
    const GtkFunctions* gtk = GtkFunctions::Get();
    void* entry = EntryWidget(item);
    if (gtk == nullptr || entry == nullptr) return wxString();
    void* text = gtk->object_get_data(entry, kShortcutKey);
    return text != nullptr ? wxString::FromUTF8(gtk->label_get_text(text)) : wxString();
}

int MenuToolkitAcceleratorCount(const wxMenuItem& item) {
    const GtkFunctions* gtk = GtkFunctions::Get();
    void* entry = EntryWidget(item);
    if (gtk == nullptr || entry == nullptr) return -1;
    GtkFunctions::ListNode* closures = gtk->widget_list_accel_closures(entry);
    int count = 0;
    for (GtkFunctions::ListNode* node = closures; node != nullptr; node = node->next) ++count;
    gtk->list_free(closures);
    return count;
}
