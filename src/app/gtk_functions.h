#pragma once

// The few GTK and GDK functions the window needs beyond what wxWidgets
// offers: a menu entry that shows a shortcut text of our own, and the state
// of the Scroll Lock light, a style sheet of our own for a widget. They are looked up in the running process, where
// wxWidgets has loaded GTK, so building needs no GTK development files.
// Widgets and other GTK objects are passed as opaque pointers.
struct GtkFunctions {
    // A node of GLib's doubly linked list.
    struct ListNode {
        void* data;
        ListNode* next;
        ListNode* prev;
    };

    void* (*bin_get_child)(void* bin);
    void (*container_add)(void* container, void* widget);
    void (*container_remove)(void* container, void* widget);
    void* (*box_new)(int orientation, int spacing);
    void (*box_pack_start)(void* box, void* child, int expand, int fill, unsigned padding);
    void (*box_pack_end)(void* box, void* child, int expand, int fill, unsigned padding);
    void* (*label_new)(const char* text);
    const char* (*label_get_text)(void* label);
    void (*widget_show_all)(void* widget);
    void* (*widget_get_style_context)(void* widget);
    unsigned long (*accel_label_get_type)();
    void (*accel_label_set_accel_widget)(void* label, void* widget);
    int (*type_check_instance_is_a)(void* instance, unsigned long type);
    void (*style_context_add_class)(void* context, const char* name);
    ListNode* (*widget_list_accel_closures)(void* widget);
    void* (*accel_group_from_accel_closure)(void* closure);
    int (*accel_group_disconnect)(void* group, void* closure);
    void (*list_free)(ListNode* list);
    void* (*object_ref)(void* object);
    void (*object_unref)(void* object);
    void* (*object_get_data)(void* object, const char* key);
    void (*object_set_data)(void* object, const char* key, void* data);
    void* (*display_get_default)();
    void* (*keymap_get_for_display)(void* display);
    int (*keymap_get_scroll_lock_state)(void* keymap);
    void* (*css_provider_new)();
    int (*css_provider_load_from_data)(void* provider, const char* data, long length, void** error);
    void (*style_context_add_provider)(void* context, void* provider, unsigned priority);

    // GTK_STYLE_PROVIDER_PRIORITY_APPLICATION
    static constexpr unsigned kApplicationPriority = 600;

    // GTK_ORIENTATION_HORIZONTAL
    static constexpr int kHorizontal = 0;

    // The functions, or none when any of them is missing (a toolkit other
    // than GTK 3).
    static const GtkFunctions* Get();
};
