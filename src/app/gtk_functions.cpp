#include "app/gtk_functions.h"

#include <dlfcn.h>

namespace {

template <class Function>
bool Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
    return function != nullptr;
}

bool FindAll(GtkFunctions& f) {
    return Find(f.bin_get_child, "gtk_bin_get_child") && Find(f.container_add, "gtk_container_add") &&
           Find(f.container_remove, "gtk_container_remove") && Find(f.box_new, "gtk_box_new") &&
           Find(f.box_pack_start, "gtk_box_pack_start") && Find(f.box_pack_end, "gtk_box_pack_end") &&
           Find(f.label_new, "gtk_label_new") && Find(f.label_get_text, "gtk_label_get_text") &&
           Find(f.widget_show_all, "gtk_widget_show_all") &&
           Find(f.widget_get_style_context, "gtk_widget_get_style_context") &&
           Find(f.accel_label_get_type, "gtk_accel_label_get_type") &&
           Find(f.accel_label_set_accel_widget, "gtk_accel_label_set_accel_widget") &&
           Find(f.type_check_instance_is_a, "g_type_check_instance_is_a") &&
           Find(f.style_context_add_class, "gtk_style_context_add_class") &&
           Find(f.widget_list_accel_closures, "gtk_widget_list_accel_closures") &&
           Find(f.accel_group_from_accel_closure, "gtk_accel_group_from_accel_closure") &&
           Find(f.accel_group_disconnect, "gtk_accel_group_disconnect") && Find(f.list_free, "g_list_free") &&
           Find(f.object_ref, "g_object_ref") && Find(f.object_unref, "g_object_unref") &&
           Find(f.object_get_data, "g_object_get_data") && Find(f.object_set_data, "g_object_set_data") &&
           Find(f.display_get_default, "gdk_display_get_default") &&
           Find(f.keymap_get_for_display, "gdk_keymap_get_for_display") &&
           Find(f.keymap_get_scroll_lock_state, "gdk_keymap_get_scroll_lock_state") &&
           Find(f.css_provider_new, "gtk_css_provider_new") &&
           Find(f.css_provider_load_from_data, "gtk_css_provider_load_from_data") &&
           Find(f.style_context_add_provider, "gtk_style_context_add_provider");
}

}  // namespace

const GtkFunctions* GtkFunctions::Get() {
    static GtkFunctions functions{};
    static const bool found = FindAll(functions);
    return found ? &functions : nullptr;
}
