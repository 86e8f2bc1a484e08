// A window of a toolkit that marks no element as showing (GTK 4), for the accessibility tests: a label,
// a button with a tooltip, a stack whose second page is hidden, a label set invisible, an unnamed menu
// button and icon button, a button labelled "GtkButton" and two tabs. Prints "ready" once
// the window is presented and runs until it is ended.

#include <gtk/gtk.h>

#include <cstdio>

namespace {

void activate(GtkApplication* application, gpointer) {
    GtkWidget* window = gtk_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(window), "Orvel GTK window");
    gtk_window_set_default_size(GTK_WINDOW(window), 400, 300);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    gtk_box_append(GTK_BOX(box), gtk_label_new("Hello label"));
    GtkWidget* button = gtk_button_new_with_label("Press me");
    gtk_widget_set_tooltip_text(button, "Presses the button");
    gtk_box_append(GTK_BOX(box), button);
    GtkWidget* stack = gtk_stack_new();
    gtk_stack_add_titled(GTK_STACK(stack), gtk_label_new("Visible page label"), "visible", "Visible page");
    gtk_stack_add_titled(GTK_STACK(stack), gtk_label_new("Hidden page label"), "hidden", "Hidden page");
    GtkWidget* switcher = gtk_stack_switcher_new();
    gtk_stack_switcher_set_stack(GTK_STACK_SWITCHER(switcher), GTK_STACK(stack));
    gtk_box_append(GTK_BOX(box), switcher);
    gtk_box_append(GTK_BOX(box), stack);
    GtkWidget* invisible = gtk_label_new("Invisible label");
    gtk_widget_set_visible(invisible, FALSE);
    gtk_box_append(GTK_BOX(box), invisible);
    // Widgets that nothing names, which the toolkit names by their types, and a button whose real label
    // has the form of such a name.
    GtkWidget* menu = gtk_menu_button_new();
    gtk_menu_button_set_icon_name(GTK_MENU_BUTTON(menu), "open-menu-symbolic");
    gtk_box_append(GTK_BOX(box), menu);
    gtk_box_append(GTK_BOX(box), gtk_button_new_from_icon_name("list-add-symbolic"));
    gtk_box_append(GTK_BOX(box), gtk_button_new_with_label("GtkButton"));
    // Tabs, which the toolkit names "Tab" whatever their labels say.
    GtkWidget* notebook = gtk_notebook_new();
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), gtk_label_new("General page label"),
                             gtk_label_new("General"));
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), gtk_label_new("Advanced page label"),
                             gtk_label_new("Advanced"));
    gtk_box_append(GTK_BOX(box), notebook);
    gtk_window_set_child(GTK_WINDOW(window), box);
    gtk_window_present(GTK_WINDOW(window));
    std::puts("ready");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    GtkApplication* application = gtk_application_new("org.orvel.TestWindow", G_APPLICATION_NON_UNIQUE);
    g_signal_connect(application, "activate", reinterpret_cast<GCallback>(&activate), nullptr);
    const int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
